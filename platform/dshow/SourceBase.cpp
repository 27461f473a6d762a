#include "platform/dshow/SourceBase.h"

#include "platform/com/ComPtr.h"

#include <algorithm>

CStreamingOutputPin::CStreamingOutputPin(const char* objectName, HRESULT* result, CSource* filter,
                                         LPCWSTR name)
    : CBaseOutputPin(objectName, filter, filter->pStateLock(), result, name), m_pFilter(filter)
{
    const HRESULT hr = filter->AddPin(this);
    if (result && FAILED(hr))
        *result = hr;
}

CStreamingOutputPin::~CStreamingOutputPin()
{
    if (thread_.joinable()) {
        stopRequested_ = true;
        thread_.join();
    }
    m_pFilter->RemovePin(this);
}

HRESULT CStreamingOutputPin::Active()
{
    if (!IsConnected())
        return S_OK;
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    hr = OnThreadCreate();
    if (FAILED(hr))
        return hr;
    stopRequested_ = false;
    endEarly_ = false;
    endDelivered_ = false;
    thread_ = std::thread([this] { ThreadProc(); });
    return S_OK;
}

HRESULT CStreamingOutputPin::Inactive()
{
    stopRequested_ = true;
    // Decommitting first fails a GetDeliveryBuffer the loop may be about to make.
    CBaseOutputPin::Inactive();
    if (thread_.joinable())
        thread_.join();
    return S_OK;
}

void CStreamingOutputPin::EndEarly()
{
    endEarly_ = true;
}

void CStreamingOutputPin::EndedEarly()
{
    if (thread_.joinable())
        thread_.join();
}

HRESULT CStreamingOutputPin::ThreadProc()
{
    HRESULT hr = OnThreadStartPlay();
    if (SUCCEEDED(hr))
        hr = DoBufferProcessingLoop();
    else
        EndStream(hr);
    // A loop that left for an early end (or on a refused sample meanwhile) has not ended
    // its stream yet.
    if (endEarly_ && !endDelivered_)
        EndStream(S_OK);
    OnThreadDestroy();
    return hr;
}

void CStreamingOutputPin::EndStream(HRESULT result)
{
    if (stopRequested_ || endDelivered_)
        return;
    if (FAILED(result)) {
        m_pFilter->NotifyEvent(EC_ERRORABORT, result, 0);
    }
    endDelivered_ = true;
    DeliverEndOfStream();
}

CSourceStream::CSourceStream(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR name)
    : CStreamingOutputPin(objectName, result, filter, name)
{}

HRESULT CSourceStream::GetMediaType(CMediaType*)
{
    return E_UNEXPECTED;
}

HRESULT CSourceStream::GetMediaType(int position, CMediaType* type)
{
    if (!type)
        return E_POINTER;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    return GetMediaType(type);
}

HRESULT CSourceStream::CheckMediaType(const CMediaType* type)
{
    if (!type)
        return E_POINTER;
    CMediaType offered;
    if (GetMediaType(&offered) != S_OK)
        return E_FAIL;
    return offered == *type ? S_OK : E_FAIL;
}

HRESULT CSourceStream::DoBufferProcessingLoop()
{
    while (!StopRequested()) {
        ComPtr<IMediaSample> sample;
        HRESULT hr = GetDeliveryBuffer(sample.Out(), nullptr, nullptr, 0);
        if (FAILED(hr)) {
            EndStream(hr);
            return hr;
        }
        hr = FillBuffer(sample.get());
        if (hr == S_OK) {
            hr = Deliver(sample.get());
            // The downstream filter refused the sample: it has told the graph whatever
            // there was to tell, so the stream just ends here.
            if (hr != S_OK)
                return S_OK;
            continue;
        }
        sample.Reset();
        EndStream(hr == S_FALSE ? S_OK : hr);
        return hr == S_FALSE ? S_OK : hr;
    }
    return S_OK;
}

CSource::CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid)
    : CBaseFilter(objectName, outer, clsid)
{}

CSource::CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid, HRESULT* result)
    : CBaseFilter(objectName, outer, clsid)
{
    if (result)
        *result = S_OK;
}

CSource::~CSource()
{
    // A pin's destructor removes it from the list.
    while (!m_paStreams.empty())
        delete m_paStreams.back();
}

void* CSource::GetInterface(REFIID iid)
{
    if (iid == IID_IStreamEnd)
        return static_cast<IStreamEnd*>(this);
    return CBaseFilter::GetInterface(iid);
}

HRESULT CSource::EndStreams()
{
    CAutoLock lock(&m_StateLock);
    for (CStreamingOutputPin* pin : m_paStreams)
        pin->EndEarly();
    return S_OK;
}

HRESULT CSource::WaitStreamsEnded()
{
    CAutoLock lock(&m_StateLock);
    for (CStreamingOutputPin* pin : m_paStreams)
        pin->EndedEarly();
    return S_OK;
}

int CSource::GetPinCount()
{
    CAutoLock lock(&m_StateLock);
    return static_cast<int>(m_paStreams.size());
}

CBasePin* CSource::GetPin(int index)
{
    CAutoLock lock(&m_StateLock);
    if (index < 0 || index >= static_cast<int>(m_paStreams.size()))
        return nullptr;
    return m_paStreams[index];
}

HRESULT CSource::AddPin(CStreamingOutputPin* pin)
{
    CAutoLock lock(&m_StateLock);
    m_paStreams.push_back(pin);
    return S_OK;
}

HRESULT CSource::RemovePin(CStreamingOutputPin* pin)
{
    CAutoLock lock(&m_StateLock);
    auto found = std::find(m_paStreams.begin(), m_paStreams.end(), pin);
    if (found == m_paStreams.end())
        return S_FALSE;
    m_paStreams.erase(found);
    return S_OK;
}
