#pragma once

#include "platform/dshow/BaseOutputPin.h"

#include <atomic>
#include <thread>

class CSource;

// An output pin with a streaming thread of its own: started when the filter leaves the
// stopped state, asked to end and joined when it stops. The thread runs ThreadProc:
// OnThreadCreate, OnThreadStartPlay, DoBufferProcessingLoop, OnThreadDestroy.
class CStreamingOutputPin : public CBaseOutputPin {
public:
    CStreamingOutputPin(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR name);
    ~CStreamingOutputPin() override;

    // Unconnected pins start no thread.
    HRESULT Active() override;
    // Asks the loop to end, then joins the thread; also while the thread is inside a
    // downstream Receive (downstream filters were stopped first, so it returns).
    HRESULT Inactive() override;

protected:
    virtual HRESULT ThreadProc();
    virtual HRESULT OnThreadCreate() { return S_OK; }
    virtual HRESULT OnThreadDestroy() { return S_OK; }
    virtual HRESULT OnThreadStartPlay() { return S_OK; }
    // Produces and delivers samples until the stream ends or StopRequested.
    virtual HRESULT DoBufferProcessingLoop() = 0;

    // Streaming thread: true once Inactive wants the loop to end.
    bool StopRequested() const { return stopRequested_.load(); }
    // Ends the stream after the last sample or an error: a failure that did not come from
    // stopping is notified as EC_ERRORABORT (with the code as first parameter); then end of
    // stream goes downstream.
    void EndStream(HRESULT result);

    CSource* m_pFilter;

private:
    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
};
