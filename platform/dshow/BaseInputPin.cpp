#include "platform/dshow/BaseInputPin.h"

#include "platform/dshow/BaseFilter.h"

CBaseInputPin::CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock,
                             HRESULT* result, LPCWSTR name)
    : CBasePin(objectName, filter, lock, result, name, PINDIR_INPUT)
{}

HRESULT CBaseInputPin::QueryInterface(REFIID iid, void** out)
{
    if (out && iid == IID_IMemInputPin) {
        *out = static_cast<IMemInputPin*>(this);
        AddRef();
        return S_OK;
    }
    return CBasePin::QueryInterface(iid, out);
}

HRESULT CBaseInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    if (m_pFilter->IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_bFlushing)
        return S_FALSE;
    return S_OK;
}

HRESULT CBaseInputPin::EndOfStream()
{
    if (m_pFilter->IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_bFlushing)
        return S_FALSE;
    return S_OK;
}

HRESULT CBaseInputPin::BeginFlush()
{
    m_bFlushing = true;
    return S_OK;
}

HRESULT CBaseInputPin::EndFlush()
{
    m_bFlushing = false;
    return S_OK;
}

HRESULT CBaseInputPin::Inactive()
{
    m_bFlushing = false;
    return S_OK;
}
