#pragma once

#include "platform/com/ComPtr.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/PassThroughInputPin.h"
#include "platform/dshow/SampleGrabber.h"

#include <mutex>

class CSampleGrabberFilter;

class CGrabberInputPin : public CPassThroughInputPin {
public:
    CGrabberInputPin(CSampleGrabberFilter* filter, HRESULT* result);
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT Receive(IMediaSample* sample) override;

private:
    CSampleGrabberFilter* grabber_;
};

class CGrabberOutputPin : public CBaseOutputPin {
public:
    CGrabberOutputPin(CSampleGrabberFilter* filter, HRESULT* result);
    // Offers the input's type: the output connects only after the input.
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

private:
    CSampleGrabberFilter* grabber_;
};

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
