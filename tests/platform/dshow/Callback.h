#pragma once

#include "platform/dshow/SampleGrabber.h"

#include <atomic>
#include <functional>

namespace testfilters {

// A grabber callback object on the stack: no reference counting, like the graph users'.
class Callback : public ISampleGrabberCB {
public:
    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    HRESULT BufferCB(double sampleTime, BYTE* buffer, long length) override;

    // Runs on the streaming thread for each sample.
    std::function<void(double, IMediaSample*)> onSample;
    std::atomic<int> calls{0};
    // The call (from 1) that answers S_FALSE, making its sample the stream's last; 0 for
    // none. Set before the graph runs.
    int lastCall = 0;
};

}  // namespace testfilters
