#include "editor/engine/FilesToAVI.h"

#include "editor/engine/NumberedName.h"
#include "editor/engine/SettingRanges.h"
#include "media/FilterLookup.h"
#include "platform/text/HeapText.h"
#include "platform/win/Sync.h"
#include "platform/win/Window.h"

#include <algorithm>

namespace {

constexpr UINT kFrameDone = 0xBEE6;
constexpr UINT kConvertDone = 0xBEE9;
// WS_POPUP | WS_OVERLAPPEDWINDOW: the video window style of a graph without an owner.
constexpr long kPopupWindowStyle = 0x80CF0000;

// Both present and different, without regard to case; a missing one is no change.
bool TextChanged(const char* stored, const char* given)
{
    return stored && given && lstrcmpiA(stored, given) != 0;
}

}  // namespace

void CFilesToAVI::Post(UINT message, WPARAM wParam)
{
    PostMessageA(notifyWindow_, message, wParam, reinterpret_cast<LPARAM>(this));
}

int CFilesToAVI::FramesFilled() const
{
    const CPushPinBitmapSet* pin = Pin();
    return pin ? pin->GetFrameNumber() : 0;
}

void CFilesToAVI::ApplySource()
{
    if (CPushPinBitmapSet* pin = Pin())
        pin->SetSource(consumer_, inputPattern_, frameRate_, firstNumber_, lastNumber_, step_);
}

bool CFilesToAVI::CreateGraph(HWND videoWindow, CBufferFrame* frameSource)
{
    videoWindow_ = videoWindow;
    consumer_ = frameSource;
    if (graph_ || !CVideoGraph::CreateGraph(videoWindow, frameSource))
        return false;
    if (!pushSource_)
        pushSource_ = CPushSource::CreateInstance(nullptr, nullptr);
    if (pushSource_)
        graph_->AddFilter(pushSource_, u"PushSource");
    ApplySource();
    return true;
}

void CFilesToAVI::SetSettings(const char* outputPath, const char* inputPattern,
                              const char* compressorName, float frameRate, int first, int last,
                              int step)
{
    // Held first, so that a setting the converter holds the same as before is no change.
    first = first > 0 ? first : 0;
    step = HeldFileStep(step);
    frameRate = HeldFrameRate(frameRate, frameRate_);
    const bool changed = TextChanged(outputPath_, outputPath) ||
                         TextChanged(inputPattern_, inputPattern) || first != firstNumber_ ||
                         last != lastNumber_ || step != step_ || frameRate != frameRate_;
    ReplaceHeapText(outputPath_, outputPath);
    ReplaceHeapText(inputPattern_, inputPattern);
    ReplaceHeapText(compressorName_, compressorName);
    firstNumber_ = first;
    lastNumber_ = last;
    step_ = step;
    frameRate_ = frameRate;
    ApplySource();
    CPushPinBitmapSet* pin = Pin();
    frameCount_ = changed || (pin && pin->HasFrames()) ? -1 : 0;
}

bool CFilesToAVI::BuildOutputChain()
{
    IPin* output = GetPin(pushSource_, PINDIR_OUTPUT, 0);
    if (!output || FAILED(graph_->Render(output)) || !InsertSampleGrabber() ||
        !BuildOutput(outputPath_, nullptr, compressorName_)) {
        return false;
    }
    // The controls and the notification; with no video renderer left there is no
    // Null Renderer to put in, and the window calls below are answered by the graph.
    QueryControls();
    graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&windowControl_));
    if (windowControl_) {
        windowControl_->put_Owner(reinterpret_cast<OAHWND>(videoWindow_));
        windowControl_->put_WindowStyle(kPopupWindowStyle);
    }
    long width = 0;
    long height = 0;
    if (basicVideo_ && windowControl_ &&
        basicVideo_->GetVideoSize(&width, &height) != E_NOINTERFACE) {
        windowControl_->SetWindowPosition(0, 0, width, height);
    }
    return mediaControl_ != nullptr;
}

bool CFilesToAVI::OutputIsAnInput() const
{
    // Each frame lies at most a step past the one before it, so a run of kFrameCap frames
    // reads no number beyond this one.
    const long long reach = std::min<long long>(
        lastNumber_, firstNumber_ + static_cast<long long>(kFrameCap) * step_ - 1);
    return NumberedNamesInclude(inputPattern_, firstNumber_, 1, reach - firstNumber_ + 1,
                                outputPath_);
}

bool CFilesToAVI::BuildAndRun()
{
    if (!graph_ || !pushSource_ || OutputIsAnInput())
        return false;
    CPushPinBitmapSet* pin = Pin();
    frameCount_ = pin && pin->HasFrames() ? -1 : 0;
    ApplySource();
    failed_ = false;
    if (!mediaControl_ && !BuildOutputChain()) {
        Dismantle(false);
        return false;
    }
    if (FAILED(mediaControl_->Run())) {
        Dismantle(false);
        return false;
    }
    return true;
}

HRESULT CFilesToAVI::SampleCB(double sampleTime, IMediaSample* sample)
{
    CPushPinBitmapSet* pin = Pin();
    if (!pushSource_)
        return S_OK;
    // The pin counts a sample before delivering it: this one is included.
    const int delivered = pin ? pin->GetFrameNumber() : 0;
    if (delivered <= kFrameCap) {
        Post(kFrameDone, static_cast<WPARAM>(delivered - 1));
        CVideoGraph::SampleCB(sampleTime, sample);
    }
    if (delivered >= kFrameCap) {
        if (pin)
            pin->SetFrameLimit(kFrameCap);
        frameCount_ = delivered;
    }
    return S_OK;
}

bool CFilesToAVI::HandleGraphEvents()
{
    bool completed = false;
    DrainEvents([this, &completed](long code) {
        if (code == EC_ERRORABORT)
            failed_ = true;
        if (code != EC_COMPLETE || completed)
            return;
        completed = true;
        if (frameCount_ < 0)
            frameCount_ = FramesFilled();
        Post(kConvertDone, static_cast<WPARAM>(frameCount_.load()));
    });
    return completed;
}

void CFilesToAVI::Dismantle(bool announce)
{
    if (mediaControl_) {
        mediaControl_->Stop();
        if (announce)
            Post(kConvertDone, static_cast<WPARAM>(FramesFilled()));
    }
    if (windowControl_) {
        windowControl_->put_Visible(0);
        windowControl_->put_Owner(0);
    }
    if (mediaEvent_)
        mediaEvent_->SetNotifyWindow(0, 0, 0);
    // Filters are enumerated newest first, so the one that stays is the push source,
    // which went in first and is rendered again at the next start.
    RemoveFilters(graph_, true);
    ReleaseControls();
}

bool CFilesToAVI::Close()
{
    Dismantle(true);
    return true;
}

bool CFilesToAVI::Shutdown()
{
    Close();
    ReleaseGraph();
    ReplaceHeapText(outputPath_, nullptr);
    ReplaceHeapText(inputPattern_, nullptr);
    ReplaceHeapText(compressorName_, nullptr);
    pushSource_ = nullptr;
    return true;
}

int CFilesToAVI::GetFrameCount()
{
    return frameCount_;
}

bool CFilesToAVI::HasFrames()
{
    CPushPinBitmapSet* pin = Pin();
    return pin && pin->HasFrames();
}
