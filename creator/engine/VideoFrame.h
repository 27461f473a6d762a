#pragma once

#include "media/VideoGraph.h"
#include "platform/win/Types.h"
#include "platform/win/Window.h"

#include <atomic>
#include <cstdint>

// Reads a video template once: counts its frames up to a limit (at most 127), measures
// the largest time step between consecutive samples, and hands one chosen frame to the
// graph's frame consumer (the template source). The template plays without a reference
// clock through a Sample Grabber and a Null Renderer, so samples come as fast as they
// decode.
//
// The caller's message (wParam 0, lParam 0) is posted when the limit is reached, on that
// and on every later sample until the owner stops the graph, or on completion of a
// shorter template; the owner's handler must tolerate repeats. After it, GetFrameCount
// gives min(frames, limit).
//
// Threads: Open and OnGraphEvent on the user-interface thread; SampleCB on the streaming
// thread, which writes only the counters below and the chosen frame into the consumer.
class CVideoFrame : public CVideoGraph {
public:
    // Frames are never counted beyond this.
    static constexpr int kMaxFrameLimit = 127;

    CVideoFrame() = default;

    // Renders the template (UTF-8 path) into the graph created before, removes the clock
    // and runs it. previewIndex picks the frame handed to the consumer; frameLimit is
    // held to 0 .. 127. Non-zero when the graph runs; 0 when there is no graph, a file
    // is rendered already (its counts and message target stay as they were) or the
    // template does not render.
    int Open(const char* path, int previewIndex, int frameLimit, HWND notifyWindow, UINT message);
    // The frames counted so far. Any thread.
    int GetFrameCount() override;
    // Counts the sample and measures its step; S_OK always, the sample is never changed.
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    // Drains the graph's events; posts the caller's message on completion. 1 when a
    // completion was seen.
    int OnGraphEvent();

    // Whether the read opened last has posted the caller's message: a message that arrives
    // while this is false was posted by an earlier read. Any thread.
    bool HasCounted() const;

    // The largest step in seconds between two consecutive samples of the last template;
    // read after the message has arrived.
    double GetLargestGap() const;
    int GetFrameLimit() const;

private:
    void Notify();

    int previewIndex_ = 0;
    std::uint8_t frameLimit_ = kMaxFrameLimit;
    // Receives the caller's message; the graph's own notification target is the base's.
    HWND messageWindow_ = nullptr;
    UINT message_ = 0;

    // Written by the streaming thread while the graph runs, read by the user-interface
    // thread after the message; atomics, so a read in between sees a whole value.
    std::atomic<int> framesCounted_ = 0;
    std::atomic<double> largestGap_ = 0.0;
    std::atomic<bool> counted_ = false;
    double previousTime_ = 0.0;  // streaming thread only while running
};
