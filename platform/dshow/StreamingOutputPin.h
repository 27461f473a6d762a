#pragma once

#include "platform/dshow/BaseOutputPin.h"

#include <atomic>
#include <thread>

class CSource;

// An output pin with a streaming thread of its own: started when the filter leaves the
// stopped state, asked to end and joined when it stops. The thread runs ThreadProc:
// OnThreadCreate, OnThreadStartPlay, DoBufferProcessingLoop, OnThreadDestroy. A stream
// asked to end early (EndEarly, before the graph stops) leaves the loop as for a stop but
// then delivers end of stream, as at the end of its media.
class CStreamingOutputPin : public CBaseOutputPin {
public:
    CStreamingOutputPin(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR name);
    ~CStreamingOutputPin() override;

    // Unconnected pins start no thread.
    HRESULT Active() override;
    // Asks the loop to end, then joins the thread; also while the thread is inside a
    // downstream Receive (downstream filters were stopped first, so it returns).
    HRESULT Inactive() override;

    // Application's thread, while active: asks the loop to end after the sample in hand
    // and to deliver end of stream; EndedEarly joins the thread.
    void EndEarly();
    void EndedEarly();

protected:
    virtual HRESULT ThreadProc();
    virtual HRESULT OnThreadCreate() { return S_OK; }
    virtual HRESULT OnThreadDestroy() { return S_OK; }
    virtual HRESULT OnThreadStartPlay() { return S_OK; }
    // Produces and delivers samples until the stream ends or StopRequested.
    virtual HRESULT DoBufferProcessingLoop() = 0;

    // Streaming thread: true once Inactive or EndEarly wants the loop to end.
    bool StopRequested() const { return stopRequested_.load() || endEarly_.load(); }
    // Ends the stream after the last sample or an error: a failure that did not come from
    // stopping is notified as EC_ERRORABORT (with the code as first parameter); then end of
    // stream goes downstream, unless the filter is stopping.
    void EndStream(HRESULT result);

    CSource* m_pFilter;

private:
    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> endEarly_{false};
    bool endDelivered_ = false;  // streaming thread, while it runs
};
