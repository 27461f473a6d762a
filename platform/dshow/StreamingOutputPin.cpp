#include "platform/dshow/StreamingOutputPin.h"

#include "platform/dshow/Source.h"

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
