#pragma once

#include "creator/engine/FrameComposition.h"
#include "media/AudioGrabber.h"
#include "media/BufferFrame.h"
#include "media/VideoGraph.h"
#include "platform/win/Types.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>

// Window messages of a creation. The graph's own notification (lParam: this object)
// leads the owner to OnGraphEvent; the progress message carries the index of the frame
// just composed; the completion message tells the owner that the graph has stopped.
inline constexpr UINT WM_GRAPH_NOTIFY = 0xBEE5;
inline constexpr UINT WM_FRAME_PROGRESS = 0xBEE6;
inline constexpr UINT WM_CREATION_DONE = 0xBEE9;

// Turns the user's inputs into the output video: a graph that renders the template and
// the audio file, composes every template frame in the Sample Grabber's callback (see
// CFrameComposition) and writes video and audio through the chosen compressors, an
// "AVI MUX" and a "File Writer" into an AVI file. The graph runs without a reference
// clock, as fast as the composition allows.
//
// Life cycle: construct; SetSources once; per creation Open, SetNotifyWindow with the
// owner's window and WM_GRAPH_NOTIFY, SetFaceSizePercent, SetFrameCap, Run; OnGraphEvent
// for each WM_GRAPH_NOTIFY from this object; Close on WM_CREATION_DONE or the user's stop;
// at the end Stop and ReleaseGraph, then delete.
//
// Threads: everything but SampleCB runs on the user-interface thread. SampleCB runs on
// the streaming thread while the graph runs and reports only by posted messages; Open
// and Close never overlap a running graph (Close stops it before freeing anything).
class CVideoCreator : public CVideoGraph {
public:
    CVideoCreator() = default;

    // Composes the sample in place (streaming thread) and posts WM_FRAME_PROGRESS with the
    // frame's index; a sample that cannot be composed passes unchanged and posts nothing.
    // S_OK, but S_FALSE for the frame that brings the composed frames to the cap: the
    // grabber then ends the template's video after it.
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;

    // The main dialog's image sources (background, face, template preview, output
    // preview); not owned, they must outlive the creator or be cleared by ReleaseGraph.
    // Creates the empty filter graph; true when it exists.
    bool SetSources(CBufferFrame* background, CBufferFrame* face, CBufferFrame* templ,
                    CBufferFrame* video);

    // Builds the graph of one creation: the template and the audio file (UTF-8 paths; a
    // null or unreadable one adds no stream), the composing grabber, the compressors
    // chosen by name, the multiplexer and the writer on outputPath; total is the
    // template's frame count minus one. Prepares the pictures from the sources as they are
    // now. Returns 1 when the graph is ready to run; 0, changing nothing, without graph,
    // while an earlier creation is open, or when outputPath names any of the four inputs
    // (OutputIsAnInput: the template, the audio file, or the file the background or face
    // source holds the name of); 0, with everything closed, when the video does not reach
    // the multiplexer or the controls cannot be queried.
    int Open(const char* templatePath, const char* audioPath, const char* outputPath,
             const char* audioCompressor, const char* videoCompressor, int total);
    // Whether outputPath names one of the inputs (null entries name none), also under
    // another spelling or through a link: the file a creation would empty, or a rewrite
    // of the output would change, is then a file the user chose to read. False for an
    // output that does not exist.
    static bool OutputIsAnInput(const char* outputPath,
                                std::initializer_list<const char*> inputPaths);
    // Runs the graph; the result is also kept as the running flag. 0 when the graph does
    // not start, for instance because the output file cannot be created (the reason goes
    // to standard error).
    int Run();
    // Stops the graph; clears the running flag when that worked.
    int Stop();
    // Drains the graph's events. A completion (or a stream that ended on an error) clears
    // the running flag and posts WM_CREATION_DONE (wParam 0, lParam 0) to the notify
    // window; the owner's handler must tolerate a second one for the same run. 1 when a
    // completion was seen.
    int OnGraphEvent();
    // Whether a stream of the creation opened last ended on an error: its file then lacks
    // what that stream would have written. Kept until the next Open.
    bool Failed() const { return failed_; }
    // Tears one creation down: stops the graph, removes its filters, frees the pictures
    // and path copies. The sources and the face size percent stay. The result of
    // CVideoGraph::Close.
    int Close();
    // Close and release the filter graph, then forget the sources. 1 when both worked.
    int ReleaseGraph();

    // Between 100 and 200; 120 unless set. Set after Open, before Run.
    void SetFaceSizePercent(int percent) { composition_.SetFaceSizePercent(percent); }
    int faceSizePercent() const { return composition_.faceSizePercent(); }
    // The most frames the creation composes: the one that reaches this count is the last
    // the output gets, whenever the owner comes to close the creation, so that a stop at
    // that count writes the same frames every time. None unless set; set after Open,
    // before Run; Close removes it.
    void SetFrameCap(std::int64_t frames) { frameCap_ = frames; }
    int isRunning() const { return running_; }
    const CFrameComposition& composition() const { return composition_; }

private:
    static constexpr std::int64_t kNoFrameCap = std::numeric_limits<std::int64_t>::max();

    // Renders one input file into the graph; the result is not needed: a file that does
    // not render simply adds no stream.
    void RenderInput(const std::optional<std::string>& path);
    // Renders the audio file's sound only: its video renderers are taken out again.
    void RenderAudio();
    // The name of the file a picture source was loaded from; empty when it holds none.
    static std::string FileNameOf(CBufferFrame* source);

    // User-interface thread:
    CBufferFrame* backgroundSource_ = nullptr;
    CBufferFrame* faceSource_ = nullptr;
    int running_ = 0;
    bool failed_ = false;
    std::optional<std::string> templatePath_;
    std::optional<std::string> audioPath_;
    std::optional<std::string> outputPath_;
    // Kept for an audio branch; no graph built here attaches it.
    CAudioGrabber audioGrabber_;

    // Prepared on the user-interface thread while the graph is stopped, used by the
    // streaming thread while it runs.
    CFrameComposition composition_;
    std::int64_t frameCap_ = kNoFrameCap;
};
