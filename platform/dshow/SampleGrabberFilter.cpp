#include "platform/dshow/SampleGrabberFilter.h"

#include "platform/com/ComPtr.h"
#include "platform/dshow/Uuids.h"

CSampleGrabberFilter::CSampleGrabberFilter()
    : CBaseFilter(nullptr, nullptr, CLSID_SampleGrabber), input_(this, nullptr),
      output_(this, nullptr)
{}

void* CSampleGrabberFilter::GetInterface(REFIID iid)
{
    if (iid == IID_ISampleGrabber)
        return static_cast<ISampleGrabber*>(this);
    return CBaseFilter::GetInterface(iid);
}

int CSampleGrabberFilter::GetPinCount()
{
    return 2;
}

CBasePin* CSampleGrabberFilter::GetPin(int index)
{
    if (index == 0)
        return &input_;
    if (index == 1)
        return &output_;
    return nullptr;
}

bool CSampleGrabberFilter::Accepts(const CMediaType* type)
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    return type->MatchesPartial(&wanted_);
}

HRESULT CSampleGrabberFilter::SetOneShot(BOOL oneShot)
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    oneShot_ = oneShot != FALSE;
    return S_OK;
}

HRESULT CSampleGrabberFilter::SetMediaType(const AM_MEDIA_TYPE* type)
{
    std::lock_guard<std::mutex> lock(settingsMutex_);
    if (type) {
        wanted_ = *type;
        // Only the three identifiers restrict; a format block in the request does not.
        wanted_.ResetFormatBuffer();
    } else {
        wanted_ = CMediaType();
    }
    return S_OK;
}

HRESULT CSampleGrabberFilter::GetConnectedMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    return input_.ConnectionMediaType(type);
}

HRESULT CSampleGrabberFilter::SetBufferSamples(BOOL)
{
    return S_OK;
}

HRESULT CSampleGrabberFilter::SetCallback(ISampleGrabberCB* callback, long method)
{
    if (method != 0 && method != 1)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(settingsMutex_);
    callback_ = ComPtr<ISampleGrabberCB>::Share(callback);
    method_ = method;
    return S_OK;
}

HRESULT CSampleGrabberFilter::Receive(IMediaSample* sample)
{
    ComPtr<ISampleGrabberCB> callback;
    long method = 0;
    bool oneShot = false;
    {
        std::lock_guard<std::mutex> lock(settingsMutex_);
        callback = callback_;
        method = method_;
        oneShot = oneShot_;
    }
    HRESULT answer = S_OK;
    if (callback) {
        REFERENCE_TIME start = 0;
        REFERENCE_TIME stop = 0;
        if (FAILED(sample->GetTime(&start, &stop)))
            start = 0;
        const double seconds = static_cast<double>(start) / kUnitsPerSecond;
        // Called without any lock: the callback may take long or take its own locks.
        if (method == 0) {
            answer = callback->SampleCB(seconds, sample);
        } else {
            BYTE* buffer = nullptr;
            sample->GetPointer(&buffer);
            answer = callback->BufferCB(seconds, buffer, sample->GetActualDataLength());
        }
    }
    HRESULT hr = S_OK;
    if (output_.IsConnected())
        hr = output_.Deliver(sample);
    if (oneShot) {
        if (output_.IsConnected())
            output_.DeliverEndOfStream();
        return S_FALSE;
    }
    // The callback's last sample: the source ends the stream after it.
    if (answer == S_FALSE && hr == S_OK)
        return S_FALSE;
    return hr;
}
