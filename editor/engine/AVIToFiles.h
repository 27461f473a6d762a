#pragma once

#include "media/VideoGraph.h"

#include <atomic>

// Takes a template video apart: renders an AVI file without a reference clock (frames
// come as fast as they decode) and either writes every frame as a numbered bitmap file
// through the frame source (convert mode) or only counts the frames (count mode). At
// most kMaxFrameLimit frames are handled per run.
//
// Messages to the notify window, lParam the converter, each end message once per run:
// - convert mode: 0xBEE6 with the index of each frame written; 0xBEE9 with the frames
//   handled at the limit, at the end of the file, or when a bitmap could not be written
//   (WriteFailed() then tells it apart; the files written before stay);
// - count mode: 0xBEE8 with 1 for each frame counted; 0xBEE7 once, with the stop frame's
//   index when it arrives (that frame goes to the frame source), else with the count at
//   the limit or the end of the file; 0xBEE9 with 0 when an existing file does not render.
// The owner stops and closes the graph when an end message arrives.
//
// Threads: everything on the user-interface thread but SampleCB, which runs on the
// streaming thread; the counters they share are atomic.
class CAVIToFiles : public CVideoGraph {
public:
    static constexpr int kMaxFrameLimit = 127;

    CAVIToFiles() = default;
    ~CAVIToFiles() override;

    // Takes the path without its leading and trailing blanks (cut in place). The same
    // path in any letter case keeps a known frame count; another one makes it unknown.
    void SetInputFile(char* path);
    // Counts the frames of the file, handing frame stopFrame to the frame source; the
    // limit is held to 1 .. 127. False when a file is rendered already (nothing changes)
    // or the file does not render.
    bool CountFrames(char* path, int stopFrame, int limit);
    // Writes the frames of the file as the bitmaps FormatNumberedName names from the
    // pattern (null: no files), numbered from first (at least 0) in steps of step (held
    // to 1 .. kLargestFileStep). False when a file is rendered already, the file does not
    // render, or a name of the run's kMaxFrameLimit bitmaps is the file itself, however
    // either is spelt or linked (refused before anything is written).
    bool Convert(char* path, const char* pattern, int first, int step);
    // Removes the reference clock and runs the graph; false without control interface.
    bool RunGraph();
    // Drains the graph's events; true when a completion was among them.
    bool HandleGraphEvents();

    // The frames of the input known so far; -1 while not known. Any thread.
    int GetFrameCount() override;
    bool HasFrames() override;
    // Streaming thread, once per decoded frame. S_OK always.
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;

    // Whether the last conversion ended because a bitmap could not be written.
    bool WriteFailed() const { return writeFailed_.load(); }

private:
    void StartRun(int stopFrame, int frameLimit);
    void WriteFrame(double sampleTime, IMediaSample* sample);
    // Posts the run's end message (0xBEE7 counting, 0xBEE9 converting) unless it went.
    void PostEnd(WPARAM wParam);
    void Post(UINT message, WPARAM wParam);
    bool CountMode() const { return stopFrame_ >= 0; }

    char* inputPath_ = nullptr;
    char* pattern_ = nullptr;  // set before a run, read by the streaming thread

    // Shared between the streaming thread and the user-interface thread.
    std::atomic<long long> nextNumber_{0};
    std::atomic<int> step_{1};
    std::atomic<int> frameIndex_{0};
    std::atomic<int> stopFrame_{-1};
    std::atomic<int> frameCount_{-1};
    std::atomic<int> frameLimit_{kMaxFrameLimit};
    std::atomic<bool> endPosted_{false};
    std::atomic<bool> writeFailed_{false};
};
