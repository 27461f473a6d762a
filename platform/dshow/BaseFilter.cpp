#include "platform/dshow/BaseFilter.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/AutoLock.h"
#include "platform/dshow/BasePin.h"
#include "platform/dshow/Graph.h"
#include "platform/dshow/InterfaceEnumerator.h"
#include "platform/text/Utf16.h"

CBaseFilter::CBaseFilter(const char*, LPUNKNOWN, REFCLSID clsid) : m_clsid(clsid) {}

void* CBaseFilter::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IBaseFilter || iid == IID_IMediaFilter ||
        iid == IID_IPersist) {
        return static_cast<IBaseFilter*>(this);
    }
    return nullptr;
}

HRESULT CBaseFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT CBaseFilter::Stop()
{
    CAutoLock lock(&m_StateLock);
    HRESULT result = S_OK;
    if (m_State != State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (!pin)
                continue;
            const HRESULT hr = pin->Inactive();
            if (FAILED(hr) && SUCCEEDED(result))
                result = hr;
        }
    }
    m_State = State_Stopped;
    return result;
}

HRESULT CBaseFilter::Pause()
{
    CAutoLock lock(&m_StateLock);
    if (m_State == State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (!pin)
                continue;
            const HRESULT hr = pin->Active();
            if (FAILED(hr))
                return hr;
        }
    }
    m_State = State_Paused;
    return S_OK;
}

HRESULT CBaseFilter::Run(REFERENCE_TIME start)
{
    CAutoLock lock(&m_StateLock);
    m_tStart = start;
    if (m_State == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    m_State = State_Running;
    return S_OK;
}

HRESULT CBaseFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = m_State;
    return S_OK;
}

HRESULT CBaseFilter::SetSyncSource(IReferenceClock* clock)
{
    CAutoLock lock(&m_StateLock);
    m_pClock = ComPtr<IReferenceClock>::Share(clock);
    return S_OK;
}

HRESULT CBaseFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    CAutoLock lock(&m_StateLock);
    m_pClock.CopyTo(clock);
    return S_OK;
}

HRESULT CBaseFilter::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    return CreateComObject<CEnumPins>(IID_IEnumPins, reinterpret_cast<void**>(pins),
                                      static_cast<IBaseFilter*>(this), [this] {
                                          CAutoLock lock(&m_StateLock);
                                          std::vector<IPin*> list;
                                          for (int i = 0; i < GetPinCount(); ++i) {
                                              if (CBasePin* pin = GetPin(i))
                                                  list.push_back(pin);
                                          }
                                          return list;
                                      });
}

HRESULT CBaseFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    CAutoLock lock(&m_StateLock);
    CopyWideCut(info->achName, MAX_FILTER_NAME, m_Name);
    info->pGraph = m_pGraph;
    if (m_pGraph)
        m_pGraph->AddRef();
    return S_OK;
}

HRESULT CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    CAutoLock lock(&m_StateLock);
    m_pGraph = graph;
    m_pSink = nullptr;
    if (graph) {
        // Kept without a reference: the graph outlives its filters' membership.
        ComPtr<IMediaEventSink> sink;
        if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, sink.OutVoid())))
            m_pSink = sink.get();
    }
    m_Name = WideFrom(name);
    return S_OK;
}

HRESULT CBaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    IMediaEventSink* sink = m_pSink;
    if (!sink)
        return E_NOTIMPL;
    return sink->Notify(code, param1, param2);
}

CBasePin* FindPinOf(CBaseFilter* filter, PIN_DIRECTION direction, int index)
{
    for (int i = 0; i < filter->GetPinCount(); ++i) {
        CBasePin* pin = filter->GetPin(i);
        if (pin && pin->Direction() == direction && index-- == 0)
            return pin;
    }
    return nullptr;
}
