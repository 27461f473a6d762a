#pragma once

#include "platform/dshow/FilterBase.h"
#include "platform/dshow/RendererInputPin.h"
#include "platform/dshow/StreamEnd.h"

#include <condition_variable>
#include <mutex>

// A filter with one input and no output that consumes samples. With a clock it waits,
// while running, until each sample's start time has come (while paused, until it runs);
// without a clock it takes samples as fast as they come. After end of stream it notifies
// EC_COMPLETE, once per run. Stop and Pause wake a waiting sample at once; once the
// graph's streams end before a stop (IStreamEnd), samples are refused as after the stop,
// so that no stream waits for a sample's time.
class CBaseRenderer : public CBaseFilter, public IStreamEnd {
public:
    CBaseRenderer(REFCLSID clsid, const char* objectName, LPUNKNOWN outer, HRESULT* result);
    ~CBaseRenderer() override;
    DECLARE_IUNKNOWN

    HRESULT EndStreams() override;
    HRESULT WaitStreamsEnded() override;

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;

    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run(REFERENCE_TIME start) override;

    virtual HRESULT CheckMediaType(const CMediaType* type) = 0;
    // Streaming thread, once the sample's time has come.
    virtual HRESULT DoRenderSample(IMediaSample* sample) = 0;

    // Streaming thread (the input pin's): the wait, then DoRenderSample.
    HRESULT Receive(IMediaSample* sample);
    HRESULT EndOfStream();

protected:
    void* GetInterface(REFIID iid) override;
    // False when the filter stopped, or the streams began to end, during the wait.
    bool WaitForRenderTime(IMediaSample* sample);

    CRendererInputPin m_InputPin;

private:
    void WakeWaits();

    // Guards the fields below and the waits; never held while calling out.
    std::mutex waitMutex_;
    std::condition_variable waitChanged_;
    unsigned stateGeneration_ = 0;  // bumped by each state change
    bool completeSent_ = false;
    bool ending_ = false;  // the streams end before a stop: samples are refused
};
