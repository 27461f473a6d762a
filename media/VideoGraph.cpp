#include "media/VideoGraph.h"

#include "media/FilterLookup.h"
#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/text/HeapText.h"
#include "platform/text/Utf16.h"
#include "platform/win/Sync.h"

#include <cstdlib>
#include <string>

namespace {

// How long GetState waits for a graph in transition.
constexpr LONG kStateTimeoutMs = 200;

// The pin the given input pin is connected to; null when it is not connected.
ComPtr<IPin> UpstreamOf(IPin* input)
{
    ComPtr<IPin> upstream;
    if (!input || input->ConnectedTo(upstream.Out()) != S_OK)
        upstream.Reset();
    return upstream;
}

// Disconnects the input pin and the pin upstream of it, and returns that upstream pin;
// null, changing nothing, when the input is not connected.
ComPtr<IPin> DetachUpstream(IGraphBuilder* graph, IPin* input)
{
    ComPtr<IPin> upstream = UpstreamOf(input);
    if (!upstream)
        return upstream;
    graph->Disconnect(upstream.get());
    graph->Disconnect(input);
    return upstream;
}

ComPtr<IBaseFilter> CreateFilter(const CLSID& filterClass)
{
    ComPtr<IBaseFilter> filter;
    if (CoCreateInstance(filterClass, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                         filter.OutVoid()) != S_OK)
        filter.Reset();
    return filter;
}

}  // namespace

HRESULT CVideoGraph::SampleCB(double, IMediaSample* sample)
{
    if (!sample)
        return S_OK;
    BYTE* pixels = nullptr;
    if (sample->GetPointer(&pixels) == S_OK)
        PublishFrame(pixels, sample->GetActualDataLength());
    return S_OK;
}

HRESULT CVideoGraph::BufferCB(double, BYTE* buffer, long length)
{
    if (buffer && length > 0)
        PublishFrame(buffer, length);
    return S_OK;
}

std::u16string CVideoGraph::WidePath(const char* path)
{
    if (!path)
        return {};
    std::u16string wide = Utf8ToWide(path);
    if (wide.size() > kMaxWidePath) {
        wide.resize(kMaxWidePath);
        if (wide.back() >= 0xD800 && wide.back() <= 0xDBFF)
            wide.pop_back();
    }
    return wide;
}

void CVideoGraph::DrainEvents(const std::function<void(long code)>& onEvent)
{
    while (mediaEvent_) {
        long code = 0;
        LONG_PTR first = 0;
        LONG_PTR second = 0;
        if (mediaEvent_->GetEvent(&code, &first, &second, 0) != S_OK)
            break;
        mediaEvent_->FreeEventParams(code, first, second);
        onEvent(code);
    }
}

void CVideoGraph::RemoveReferenceClock()
{
    if (!graph_)
        return;
    ComPtr<IMediaFilter> filter;
    if (graph_->QueryInterface(IID_IMediaFilter, filter.OutVoid()) == S_OK && filter)
        filter->SetSyncSource(nullptr);
}

int CVideoGraph::GetFrameCount()
{
    return -1;
}

bool CVideoGraph::HasFrames()
{
    return false;
}

void CVideoGraph::PublishFrame(BYTE* pixels, long length)
{
    Image* image = frame_.image;
    // A short sample would make the consumer read past its end.
    if (!image || !pixels || length < 0 || static_cast<std::size_t>(length) < image->imageSize())
        return;
    frame_.byteCount = 0;
    GetLocalTime(&frame_.timeStamp);
    image->Attach(pixels);
    if (consumer_)
        consumer_->SetFrame(&frame_);
    image->Attach(nullptr);
}

void CVideoGraph::ReleaseFrameImage()
{
    if (!frame_.image)
        return;
    frame_.image->Attach(nullptr);
    delete frame_.image;
    frame_.image = nullptr;
}

bool CVideoGraph::CreateGraph(HWND videoWindow, CBufferFrame* consumer)
{
    if (!graph_ && CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IGraphBuilder, reinterpret_cast<void**>(&graph_)) != S_OK) {
        graph_ = nullptr;
        return false;
    }
    videoWindow_ = videoWindow;
    consumer_ = consumer;
    return true;
}

bool CVideoGraph::SetNotifyWindow(HWND window, UINT message)
{
    notifyWindow_ = window;
    notifyMessage_ = message;
    if (mediaEvent_ && window)
        mediaEvent_->SetNotifyWindow(reinterpret_cast<OAHWND>(window), message,
                                     reinterpret_cast<LONG_PTR>(this));
    return true;
}

bool CVideoGraph::RenderFile(const char* path)
{
    if (!graph_ || basicVideo_ || !path)
        return false;
    const std::u16string wide = WidePath(path);
    if (graph_->RenderFile(wide.c_str(), nullptr) != S_OK) {
        Close();
        return false;
    }
    InsertSampleGrabber();
    if (!QueryControls()) {
        Close();
        return false;
    }
    ReplaceHeapText(fileName_, path);
    return true;
}

bool CVideoGraph::InsertSampleGrabber()
{
    if (!graph_)
        return false;
    IBaseFilter* renderer = FindSinkFilterByMajorType(graph_, MEDIATYPE_Video);
    ComPtr<ISampleGrabber> grabber;
    if (CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_ISampleGrabber,
                         grabber.OutVoid()) != S_OK)
        return false;
    ComPtr<IBaseFilter> grabberFilter;
    if (grabber->QueryInterface(IID_IBaseFilter, grabberFilter.OutVoid()) != S_OK)
        return false;
    graph_->AddFilter(grabberFilter.get(), u"Sample Grabber");

    // Fixed before any connection, so that the graph puts a converter in front of the
    // grabber when the decoder gives another format.
    FreeMediaType(mediaType_);
    mediaType_ = AM_MEDIA_TYPE{};
    mediaType_.majortype = MEDIATYPE_Video;
    mediaType_.subtype = MEDIASUBTYPE_RGB24;
    mediaType_.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(&mediaType_);

    if (!renderer)
        return false;
    IPin* grabberIn = GetPin(grabberFilter.get(), PINDIR_INPUT, 0);
    IPin* grabberOut = GetPin(grabberFilter.get(), PINDIR_OUTPUT, 0);
    IPin* rendererIn = GetPin(renderer, PINDIR_INPUT, 0);
    ComPtr<IPin> upstream = DetachUpstream(graph_, rendererIn);
    if (!upstream)
        return false;
    graph_->Connect(upstream.get(), grabberIn);
    graph_->Connect(grabberOut, rendererIn);

    grabber->SetOneShot(FALSE);
    grabber->SetBufferSamples(FALSE);
    grabber->SetCallback(this, 0);
    FreeMediaType(mediaType_);
    mediaType_ = AM_MEDIA_TYPE{};
    grabber->GetConnectedMediaType(&mediaType_);

    if (mediaType_.pbFormat && mediaType_.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mediaType_.pbFormat);
        const int width = info->bmiHeader.biWidth;
        const bool topDown = info->bmiHeader.biHeight < 0;
        const int height = std::abs(info->bmiHeader.biHeight);
        const int channels = info->bmiHeader.biBitCount / 8;
        if (frame_.image && (frame_.image->width() != width || frame_.image->height() != height ||
                             frame_.image->channels() != channels))
            ReleaseFrameImage();
        if (!frame_.image)
            frame_.image = Image::CreateHeader(width, height, channels).release();
        if (frame_.image)
            frame_.image->setOrigin(topDown ? ImageOrigin::TopLeft : ImageOrigin::BottomLeft);
    }
    return true;
}

bool CVideoGraph::InsertFilter(const CLSID& filterClass, const WCHAR* name)
{
    if (!graph_)
        return false;
    IBaseFilter* renderer = FindSinkFilterByMajorType(graph_, MEDIATYPE_Video);
    if (!renderer)
        return false;
    ComPtr<IBaseFilter> filter = CreateFilter(filterClass);
    if (!filter)
        return false;
    IPin* filterIn = GetPin(filter.get(), PINDIR_INPUT, 0);
    IPin* rendererIn = GetPin(renderer, PINDIR_INPUT, 0);
    ComPtr<IPin> upstream = UpstreamOf(rendererIn);
    if (!filterIn || !upstream)
        return false;
    if (graph_->AddFilter(filter.get(), name) != S_OK)
        return false;
    graph_->Disconnect(upstream.get());
    graph_->Disconnect(rendererIn);
    if (graph_->Connect(upstream.get(), filterIn) == S_OK) {
        graph_->RemoveFilter(renderer);
        return true;
    }
    graph_->RemoveFilter(filter.get());
    graph_->Connect(upstream.get(), rendererIn);
    return false;
}

HRESULT CVideoGraph::RerouteToMultiplexer(IBaseFilter* sink, IBaseFilter* encoder, IPin* muxInput)
{
    ComPtr<IPin> upstream = DetachUpstream(graph_, GetPin(sink, PINDIR_INPUT, 0));
    if (!upstream)
        return E_FAIL;
    // The graph held the sink's last reference: sink and its pin are gone after this.
    graph_->RemoveFilter(sink);
    if (!encoder)
        return graph_->Connect(upstream.get(), muxInput);
    graph_->Connect(upstream.get(), GetPin(encoder, PINDIR_INPUT, 0));
    return graph_->Connect(GetPin(encoder, PINDIR_OUTPUT, 0), muxInput);
}

bool CVideoGraph::BuildOutput(const char* outputPath, const char* audioEncoder,
                              const char* videoEncoder)
{
    if (!graph_)
        return false;
    const std::u16string widePath = WidePath(outputPath);
    IBaseFilter* videoSink = FindSinkFilterByMajorType(graph_, MEDIATYPE_Video);
    IBaseFilter* audioSink = FindSinkFilterByMajorType(graph_, MEDIATYPE_Audio);
    const bool midi = !audioSink;
    if (midi)
        audioSink = FindSinkFilterByMajorType(graph_, MEDIATYPE_Midi);

    ComPtr<IBaseFilter> audioCompressor;
    if (audioSink && !midi)
        audioCompressor.Reset(FindFilterByName(CLSID_AudioCompressorCategory, audioEncoder));
    ComPtr<IBaseFilter> videoCompressor(
        FindFilterByName(CLSID_VideoCompressorCategory, videoEncoder));

    ComPtr<IBaseFilter> mux = CreateFilter(CLSID_AviDest);
    ComPtr<IBaseFilter> writer = CreateFilter(CLSID_FileWriter);
    if (writer) {
        ComPtr<IFileSinkFilter2> sinkFile;
        if (writer->QueryInterface(IID_IFileSinkFilter2, sinkFile.OutVoid()) == S_OK)
            sinkFile->SetFileName(widePath.c_str(), nullptr);
    }
    if (mux)
        graph_->AddFilter(mux.get(), u"AVI MUX");
    if (writer)
        graph_->AddFilter(writer.get(), u"File Writer");
    if (audioCompressor)
        graph_->AddFilter(audioCompressor.get(), u"Audio Encoder");
    if (videoCompressor)
        graph_->AddFilter(videoCompressor.get(), u"Video Encoder");
    graph_->Connect(GetPin(mux.get(), PINDIR_OUTPUT, 0), GetPin(writer.get(), PINDIR_INPUT, 0));

    HRESULT result = E_FAIL;
    if (videoSink)
        result = RerouteToMultiplexer(videoSink, videoCompressor.get(),
                                      GetPin(mux.get(), PINDIR_INPUT, 0));
    // The multiplexer grows its next input only once the one before is connected.
    if (audioSink)
        RerouteToMultiplexer(audioSink, audioCompressor.get(), GetPin(mux.get(), PINDIR_INPUT, 1));
    return result == S_OK;
}

void CVideoGraph::ReleaseControls()
{
    SafeRelease(basicVideo_);
    SafeRelease(mediaControl_);
    SafeRelease(mediaEvent_);
    SafeRelease(mediaPosition_);
    SafeRelease(mediaSeeking_);
    SafeRelease(windowControl_);
}

bool CVideoGraph::QueryControls()
{
    if (!graph_)
        return false;
    ReleaseControls();
    auto query = [this](const IID& iid, auto*& field) {
        if (graph_->QueryInterface(iid, reinterpret_cast<void**>(&field)) != S_OK)
            field = nullptr;
    };
    query(IID_IBasicVideo, basicVideo_);
    query(IID_IMediaControl, mediaControl_);
    query(IID_IMediaEventEx, mediaEvent_);
    query(IID_IMediaPosition, mediaPosition_);
    query(IID_IMediaSeeking, mediaSeeking_);
    if (mediaEvent_)
        mediaEvent_->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow_), notifyMessage_,
                                     reinterpret_cast<LONG_PTR>(this));
    if (!videoWindow_) {
        InsertFilter(CLSID_NullRenderer, u"Null Renderer");
        return true;
    }
    query(IID_IVideoWindow, windowControl_);
    long width = 0;
    long height = 0;
    if (!basicVideo_ || basicVideo_->GetVideoSize(&width, &height) == E_NOINTERFACE ||
        !windowControl_)
        return true;
    RECT client{};
    GetClientRect(videoWindow_, &client);
    windowControl_->put_Owner(reinterpret_cast<OAHWND>(videoWindow_));
    windowControl_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    windowControl_->SetWindowPosition(0, 0, client.right - client.left, client.bottom - client.top);
    return true;
}

HRESULT CVideoGraph::RemoveFilters(IFilterGraph* graph, bool keepOne)
{
    if (!graph)
        return E_FAIL;
    ComPtr<IEnumFilters> filters;
    const HRESULT enumerated = graph->EnumFilters(filters.Out());
    if (enumerated != S_OK)
        return enumerated;
    int count = 0;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Out(), nullptr) == S_OK)
        ++count;
    filters->Reset();
    int visits = 0;
    while (filters->Next(1, filter.Out(), nullptr) == S_OK) {
        ++visits;
        if (keepOne && visits >= count)
            continue;
        // Removal changes the graph, so the enumeration starts over; a filter that cannot
        // be removed is stepped past instead, or the loop would never end.
        if (graph->RemoveFilter(filter.get()) == S_OK)
            filters->Reset();
    }
    return S_OK;
}

bool CVideoGraph::Run()
{
    if (!mediaControl_)
        return false;
    // A graph that does not start (its output file cannot be created) produces nothing,
    // not even an event: only this answer tells the owner.
    return SUCCEEDED(mediaControl_->Run());
}

int CVideoGraph::GetState()
{
    OAFilterState state = State_Stopped;
    if (mediaControl_)
        mediaControl_->GetState(kStateTimeoutMs, &state);
    return static_cast<int>(state);
}

bool CVideoGraph::Stop()
{
    if (!mediaControl_)
        return false;
    if (mediaControl_->Stop() != S_OK && mediaSeeking_) {
        LONGLONG start = 0;
        mediaSeeking_->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                    AM_SEEKING_NoPositioning);
    }
    return true;
}

bool CVideoGraph::Close()
{
    if (graph_) {
        Stop();
        if (windowControl_) {
            windowControl_->put_Visible(0);
            windowControl_->put_Owner(0);
        }
        if (mediaEvent_)
            mediaEvent_->SetNotifyWindow(0, 0, 0);
        RemoveFilters(graph_, false);
    }
    ReleaseFrameImage();
    ReplaceHeapText(fileName_, nullptr);
    frame_ = FrameRecord{};
    FreeMediaType(mediaType_);
    mediaType_ = AM_MEDIA_TYPE{};
    ReleaseControls();
    return true;
}

bool CVideoGraph::ReleaseGraph()
{
    Close();
    SafeRelease(graph_);
    frame_ = FrameRecord{};
    consumer_ = nullptr;
    videoWindow_ = nullptr;
    notifyWindow_ = nullptr;
    notifyMessage_ = 0;
    return true;
}
