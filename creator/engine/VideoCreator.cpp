#include "creator/engine/VideoCreator.h"

#include "media/FilterLookup.h"
#include "media/PathUtils.h"
#include "platform/dshow/Filter.h"
#include "platform/text/HeapText.h"
#include "platform/win/Files.h"
#include "platform/win/Window.h"

#include <algorithm>

namespace {

std::optional<std::string> CopyOf(const char* text)
{
    if (!text)
        return std::nullopt;
    return std::string(text);
}

}  // namespace

HRESULT CVideoCreator::SampleCB(double sampleTime, IMediaSample* sample)
{
    Image* frame = frame_.image;
    if (!sample || !frame)
        return S_OK;
    BYTE* pixels = nullptr;
    if (FAILED(sample->GetPointer(&pixels)) || !pixels)
        return S_OK;
    frame->Attach(pixels);
    const int index = composition_.Compose(*frame, sample->GetSize(), sampleTime);
    frame->Attach(nullptr);
    if (index < 0)
        return S_OK;
    PostMessageA(notifyWindow_, WM_FRAME_PROGRESS, static_cast<WPARAM>(index), 0);
    return index + std::int64_t{1} >= frameCap_ ? S_FALSE : S_OK;
}

bool CVideoCreator::SetSources(CBufferFrame* background, CBufferFrame* face, CBufferFrame* templ,
                               CBufferFrame* video)
{
    backgroundSource_ = background;
    faceSource_ = face;
    composition_.SetSources(background, face, templ, video);
    return CreateGraph(nullptr, nullptr);
}

int CVideoCreator::Open(const char* templatePath, const char* audioPath, const char* outputPath,
                        const char* audioCompressor, const char* videoCompressor, int total)
{
    // A creation that is still open keeps its paths, counters and pictures: its graph may
    // be running and composing with them.
    if (!graph_ || basicVideo_)
        return 0;
    // The output is emptied when the graph starts: one that is an input would destroy it.
    const std::string backgroundPath = FileNameOf(backgroundSource_);
    const std::string facePath = FileNameOf(faceSource_);
    if (OutputIsAnInput(outputPath,
                        {templatePath, audioPath, backgroundPath.c_str(), facePath.c_str()}))
        return 0;
    failed_ = false;
    templatePath_ = CopyOf(templatePath);
    audioPath_ = CopyOf(audioPath);
    outputPath_ = CopyOf(outputPath);
    composition_.Start(total);
    composition_.Prepare();

    RenderInput(templatePath_);
    RenderAudio();
    InsertSampleGrabber();
    // Without a video stream in the multiplexer the graph could run but write nothing.
    const bool videoConnected =
        BuildOutput(outputPath_ ? outputPath_->c_str() : nullptr, audioCompressor, videoCompressor);
    RemoveReferenceClock();
    if (!videoConnected || !QueryControls()) {
        Close();
        return 0;
    }
    ReplaceHeapText(fileName_, outputPath_ ? outputPath_->c_str() : nullptr);
    return 1;
}

bool CVideoCreator::OutputIsAnInput(const char* outputPath,
                                    std::initializer_list<const char*> inputPaths)
{
    return std::any_of(inputPaths.begin(), inputPaths.end(),
                       [outputPath](const char* input) { return IsSameFile(outputPath, input); });
}

std::string CVideoCreator::FileNameOf(CBufferFrame* source)
{
    char name[kPathBufferSize];
    return source && source->GetFileName(name, sizeof name) ? name : std::string();
}

void CVideoCreator::RenderInput(const std::optional<std::string>& path)
{
    if (!path)
        return;
    const std::u16string wide = WidePath(path->c_str());
    graph_->RenderFile(wide.c_str(), nullptr);
}

void CVideoCreator::RenderAudio()
{
    IBaseFilter* templateVideo = FindSinkFilterByMajorType(graph_, MEDIATYPE_Video);
    RenderInput(audioPath_);
    // The output's video is the template's: a video stream of the audio file (a film
    // chosen as the audio) goes nowhere. The graph lists its newest filters first, so the
    // audio file's video renderers come before the template's.
    while (IBaseFilter* sink = FindSinkFilterByMajorType(graph_, MEDIATYPE_Video)) {
        if (sink == templateVideo || graph_->RemoveFilter(sink) != S_OK)
            break;
    }
}

int CVideoCreator::Run()
{
    running_ = CVideoGraph::Run() ? 1 : 0;
    return running_;
}

int CVideoCreator::Stop()
{
    const bool stopped = CVideoGraph::Stop();
    if (stopped)
        running_ = 0;
    return stopped ? 1 : 0;
}

int CVideoCreator::OnGraphEvent()
{
    int completed = 0;
    DrainEvents([this, &completed](long code) {
        // A stream that broke off ends the creation as surely as one that completed; the
        // owner must learn of both to close the graph.
        if (code == EC_COMPLETE || code == EC_ERRORABORT) {
            failed_ = failed_ || code == EC_ERRORABORT;
            running_ = 0;
            completed = 1;
            PostMessageA(notifyWindow_, WM_CREATION_DONE, 0, 0);
        }
    });
    return completed;
}

int CVideoCreator::Close()
{
    const bool closed = CVideoGraph::Close();
    templatePath_.reset();
    audioPath_.reset();
    outputPath_.reset();
    composition_.Release();
    frameCap_ = kNoFrameCap;
    running_ = 0;
    return closed ? 1 : 0;
}

int CVideoCreator::ReleaseGraph()
{
    int released = Close();
    if (released)
        released = CVideoGraph::ReleaseGraph() ? 1 : 0;
    backgroundSource_ = nullptr;
    faceSource_ = nullptr;
    composition_.SetSources(nullptr, nullptr, nullptr, nullptr);
    return released;
}
