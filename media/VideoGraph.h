#pragma once

#include "media/BufferFrame.h"
#include "media/FrameRecord.h"
#include "media/GrabberCallback.h"
#include "media/VideoSource.h"
#include "media/image/Image.h"
#include "platform/dshow/FileSink.h"
#include "platform/dshow/Graph.h"
#include "platform/dshow/SampleGrabber.h"
#include "platform/dshow/Uuids.h"
#include "platform/win/Types.h"
#include "platform/win/Window.h"
#include "platform/win/WindowGeometry.h"

#include <functional>
#include <string>

// One filter graph and, at the same time, the Sample Grabber callback of that graph.
//
// Life cycle: construct -> CreateGraph -> RenderFile (or a subclass's own building) ->
// Run -> Stop and/or Close (the same graph can render the next file) -> ReleaseGraph ->
// delete. The destructor releases nothing: owners call ReleaseGraph (or a subclass's
// closing operation that does) first.
//
// Threads: every operation runs on the user-interface thread except SampleCB and
// BufferCB, which run on the streaming thread upstream of the grabber, one sample at a
// time. Stop and Close wait until that thread has left the callback, so whatever the
// callbacks tell the user interface is posted, never sent.
//
// Frames are never copied here: while SampleCB runs, the frame image header points at
// the sample's own buffer (RGB24, rows padded to 4 bytes, bottom-up from media files,
// top-down from a bitmap source); the consumer makes the only copy.
//
// Not reference counted (CGrabberCallback): the grabber's references never delete it.
class CVideoGraph : public CGrabberCallback, public CVideoSource {
public:
    CVideoGraph() = default;
    CVideoGraph(const CVideoGraph&) = delete;
    CVideoGraph& operator=(const CVideoGraph&) = delete;

    // Publishes the sample as the frame into the consumer (streaming thread). Only a
    // sample that holds at least the frame image's size in bytes is published. S_OK
    // always, so that a frame that cannot be published passes unchanged.
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    // As SampleCB for a raw buffer of length bytes.
    HRESULT BufferCB(double sampleTime, BYTE* buffer, long length) override;
    // The number of frames the user knows of; -1: no count.
    virtual int GetFrameCount();
    // Whether the user has frames to offer.
    virtual bool HasFrames();

    // Creates the filter graph manager unless one is held (false when that fails, nothing
    // stored); then stores the video window (null: the video goes to a Null Renderer) and
    // the consumer of the frames (null: frames are not published). Neither is owned.
    bool CreateGraph(HWND videoWindow, CBufferFrame* consumer);
    // Stores the window and message that receive the graph's event notification, with
    // this object's address as lParam; applied at once when the controls are held and
    // window is not null, otherwise when they are queried (Close detaches it). True.
    bool SetNotifyWindow(HWND window, UINT message);
    // Renders the media file (UTF-8 path) into the graph, splices in the Sample Grabber
    // and queries the controls. False, with the graph closed, when the file does not
    // render completely; false, with the graph untouched, when there is no graph or a
    // file is rendered already.
    bool RenderFile(const char* path);
    // Splices a Sample Grabber fixed to 24-bit RGB into the video stream and sizes the
    // frame image header from the connected type: bottom-up rows (a positive height)
    // give a bottom-left origin, top-down rows (a negative height, as a bitmap source
    // gives them) the absolute height and a top-left origin. False when there is no video
    // stream; the grabber then stays unconnected in the graph.
    bool InsertSampleGrabber();
    // Replaces the video renderer by a new filter of the class, added under name. False
    // when there is no video renderer or the new filter does not connect; the old
    // renderer is then restored.
    bool InsertFilter(const CLSID& filterClass, const WCHAR* name);
    // Replaces the renderers by the named encoders, the "AVI MUX" multiplexer and a
    // "File Writer" on outputPath (UTF-8; null counts as empty). A name that matches no
    // installed compressor sends its stream into the multiplexer unchanged; a MIDI
    // stream never gets an encoder. The result is that of the last video connection;
    // audio connection failures are not reported.
    bool BuildOutput(const char* outputPath, const char* audioEncoder, const char* videoEncoder);
    // Queries the control interfaces, connects the notification and places the video in
    // the video window or hides it behind a Null Renderer. False only without a graph.
    bool QueryControls();
    // Removes the graph's filters; with keepOne the last one visited stays. E_FAIL
    // without a graph, the enumeration's error, else S_OK.
    HRESULT RemoveFilters(IFilterGraph* graph, bool keepOne);
    // Starts the graph. False without control interface and when a filter refuses to
    // start (the graph is then stopped again).
    bool Run();
    // The graph's state (State_Stopped 0, State_Paused 1, State_Running 2) as the media
    // control reports it within 200 milliseconds, the value of a graph still changing
    // included; 0 without control interface.
    int GetState();
    // Stops the graph, rewinding it when stopping does not answer S_OK. False without
    // control interface.
    bool Stop();
    // Tears the rendered file down, dropping the events its run left untaken, and keeps
    // the graph manager, the consumer, the video window and the notification target for
    // the next file. True.
    bool Close();
    // Close, then releases the graph manager and forgets consumer, video window and
    // notification target. True.
    bool ReleaseGraph();

protected:
    // The UTF-8 text (null counts as empty) as the UTF-16 the graph takes for paths and
    // names: at most kMaxWidePath units, never cut inside a surrogate pair.
    static constexpr std::size_t kMaxWidePath = 519;
    static std::u16string WidePath(const char* path);
    // Takes every event waiting in the graph's queue, without waiting, frees its
    // parameters and hands its code to onEvent. Nothing without event interface.
    void DrainEvents(const std::function<void(long code)>& onEvent);
    // Lets the graph run without a reference clock, as fast as its filters allow.
    void RemoveReferenceClock();
    // Points the frame header at pixels for one callback, publishes the frame and
    // detaches the header again; nothing happens when the buffer is shorter than the
    // frame image. Streaming thread.
    void PublishFrame(BYTE* pixels, long length);
    // Releases the frame image header; it points at nothing of its own.
    void ReleaseFrameImage();

    // Heap copy of the open file's path (the rendered file, or a subclass's own, such as
    // the creator's output file); null when none.
    char* fileName_ = nullptr;
    // The type asked of the grabber, then the one it connected with; the format block
    // (a VIDEOINFOHEADER) is owned.
    AM_MEDIA_TYPE mediaType_{};
    // timeStamp of the last sample and the frame image header; the header's pixel pointer
    // is set only while a callback runs and belongs to the streaming thread then.
    FrameRecord frame_{};
    CBufferFrame* consumer_ = nullptr;
    HWND videoWindow_ = nullptr;
    HWND notifyWindow_ = nullptr;
    UINT notifyMessage_ = 0;

    // Owned references; basicVideo_ is non-null exactly while a file is rendered and its
    // controls are queried.
    IGraphBuilder* graph_ = nullptr;
    IBasicVideo* basicVideo_ = nullptr;
    IMediaControl* mediaControl_ = nullptr;
    IMediaEventEx* mediaEvent_ = nullptr;
    IMediaPosition* mediaPosition_ = nullptr;  // for subclasses
    IMediaSeeking* mediaSeeking_ = nullptr;
    IVideoWindow* windowControl_ = nullptr;  // only with a video window

    // Releases the control interfaces (basicVideo_ to windowControl_).
    void ReleaseControls();

private:
    // Moves the stream that ends in sink (its input pin connected) into the multiplexer
    // input, through encoder when one is given; the result of the last connection, or
    // E_FAIL when the sink has no upstream pin.
    HRESULT RerouteToMultiplexer(IBaseFilter* sink, IBaseFilter* encoder, IPin* muxInput);
};
