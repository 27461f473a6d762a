#pragma once

#include "editor/engine/PushSource.h"
#include "media/VideoGraph.h"

#include <atomic>
#include <cstdint>

// Turns a run of numbered bitmap files into an AVI file. One graph for the converter's
// whole life: the bitmap push source, added once as "PushSource", stays in it between
// runs; each start renders its pin, splices in the Sample Grabber, replaces the renderer
// by the chosen video compressor (none for a name that matches no compressor, such as
// "(No Compression)"), "AVI MUX" and "File Writer" on the output path, and runs the
// graph with the clock the graph manager chose. Nothing in the output chain waits for
// it, so frames go as fast as they load and encode. A video holds at most kFrameCap
// frames.
//
// Messages to the notify window, lParam the converter: 0xBEE5 when the graph has events
// (then call HandleGraphEvents); 0xBEE6 with the index of each frame passed on; 0xBEE9
// with the frames written when the run completed, and again with the frames filled so
// far when a built graph is closed (after a completed run the window gets it twice). A
// run that a streaming error ended still completes: Failed() then tells the window not
// to take it for a finished video.
//
// Calling order: CreateGraph; SetNotifyWindow; SetSettings any number of times;
// BuildAndRun on Start; HandleGraphEvents on each 0xBEE5; Close on Stop and after
// completion; Shutdown before deletion. All on the user-interface thread but SampleCB.
class CFilesToAVI : public CVideoGraph {
public:
    static constexpr std::uint8_t kFrameCap = 127;
    // The rate until a usable one is set: the files page's default.
    static constexpr float kDefaultFrameRate = 2.0f;

    CFilesToAVI() = default;

    // Keeps the window (which the editor leaves empty) and the frame source, then creates
    // the graph with the push source in it. False when a graph exists already or the
    // graph manager cannot be created.
    bool CreateGraph(HWND videoWindow, CBufferFrame* frameSource);
    // Takes the settings for the next start; rate in frames per second. first below 0
    // becomes 0; step and a positive rate are held to the pages' ranges (SettingRanges.h);
    // a rate that is not positive keeps the one before, so it never reaches the pin. The
    // frame count becomes -1 (not known) when the output path or pattern changed
    // (compared without regard to case), a number or the rate changed, or the run has
    // usable bitmaps; else 0. The compressor takes no part in that but is used at the
    // next start.
    void SetSettings(const char* outputPath, const char* inputPattern, const char* compressorName,
                     float frameRate, int first, int last, int step);
    // Starts a run from the first number; builds the output chain when none is built.
    // False, with the graph back to the push source alone, when there is no graph or no
    // push source, the output is an input (OutputIsAnInput: refused before anything is
    // built, so the bitmap stays as it was), the pin cannot be rendered, the output chain
    // cannot be built (an encoder that refuses the frame size) or the graph does not run
    // (an output file that cannot be written).
    bool BuildAndRun();
    // Whether the output path names, however it is spelt or linked, a bitmap that the run
    // may read: a name of the pattern from the first number up to the last, as far as the
    // step window of each of kFrameCap frames reaches.
    bool OutputIsAnInput() const;
    // Streaming thread: posts 0xBEE6 and publishes the frame within the cap; at the cap
    // it ends the stream after this frame. S_OK always.
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    // Drains the graph's events; on completion posts 0xBEE9 with the frames written and
    // returns true. A streaming error among them is kept for Failed().
    bool HandleGraphEvents();
    // Stops a built graph (posting 0xBEE9 with the frames filled) and takes every filter
    // but the push source out of the graph. True.
    bool Close();
    // Close, then releases the graph (the push source goes with it) and the settings. True.
    bool Shutdown();

    // Frames of the current video: -1 while not known, 0 when no bitmap can be found,
    // else the frames written. Any thread.
    int GetFrameCount() override;
    // Whether the settings lead to a usable bitmap; while a run streams, the answer from
    // before the run.
    bool HasFrames() override;
    // The frame source each frame is published to and the first bitmap loaded into (not
    // owned); null before CreateGraph.
    CBufferFrame* FrameSource() const { return consumer_; }
    // Whether the last run was ended by a streaming error (an encoder or the file writer
    // failing) rather than by its end.
    bool Failed() const { return failed_.load(); }

private:
    CPushPinBitmapSet* Pin() const { return pushSource_ ? pushSource_->Pin() : nullptr; }
    int FramesFilled() const;
    void ApplySource();
    bool BuildOutputChain();
    // Stops and takes the output chain out, keeping the push source; announces the frames
    // filled with 0xBEE9 when asked and a built graph was stopped.
    void Dismantle(bool announce);
    void Post(UINT message, WPARAM wParam);

    char* outputPath_ = nullptr;
    char* inputPattern_ = nullptr;
    char* compressorName_ = nullptr;
    int firstNumber_ = 0;
    int lastNumber_ = 0;
    int step_ = 1;
    float frameRate_ = kDefaultFrameRate;
    // Not referenced here: the graph holds the only reference.
    CPushSource* pushSource_ = nullptr;

    // Written by the streaming thread while a run streams, and by the user-interface
    // thread around runs.
    std::atomic<int> frameCount_{-1};
    std::atomic<bool> failed_{false};
};
