#pragma once

#include "platform/com/ComPtr.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/GrabberInputPin.h"
#include "platform/dshow/GrabberOutputPin.h"
#include "platform/dshow/SampleGrabber.h"

#include <mutex>

// The Sample Grabber: the callback runs on the upstream streaming thread, then the same
// sample goes downstream (samples are transformed in place).
class CSampleGrabberFilter : public CBaseFilter, public ISampleGrabber {
public:
    CSampleGrabberFilter();
    DECLARE_IUNKNOWN

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;

    HRESULT SetOneShot(BOOL oneShot) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE* type) override;
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT SetBufferSamples(BOOL buffer) override;
    HRESULT SetCallback(ISampleGrabberCB* callback, long method) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    friend class CGrabberInputPin;
    friend class CGrabberOutputPin;
    HRESULT Receive(IMediaSample* sample);
    bool Accepts(const CMediaType* type);

    CGrabberInputPin input_;
    CGrabberOutputPin output_;

    // Guards the settings below: set on the application's thread, read per sample.
    std::mutex settingsMutex_;
    CMediaType wanted_;
    bool oneShot_ = false;
    ComPtr<ISampleGrabberCB> callback_;
    long method_ = 0;
};
