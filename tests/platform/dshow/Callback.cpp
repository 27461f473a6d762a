#include "tests/platform/dshow/Callback.h"

namespace testfilters {

HRESULT Callback::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
        *out = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT Callback::SampleCB(double sampleTime, IMediaSample* sample)
{
    const int call = ++calls;
    if (onSample)
        onSample(sampleTime, sample);
    return call == lastCall ? S_FALSE : S_OK;
}

HRESULT Callback::BufferCB(double, BYTE*, long)
{
    ++calls;
    return S_OK;
}

}  // namespace testfilters
