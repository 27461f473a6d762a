#include "editor/engine/AVIToFiles.h"

#include "editor/engine/NumberedName.h"
#include "editor/engine/SettingRanges.h"
#include "media/FileUtils.h"
#include "media/PathUtils.h"
#include "platform/text/HeapText.h"
#include "platform/win/Sync.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kFrameDone = 0xBEE6;
constexpr UINT kCountDone = 0xBEE7;
constexpr UINT kCounting = 0xBEE8;
constexpr UINT kConvertDone = 0xBEE9;

}  // namespace

CAVIToFiles::~CAVIToFiles()
{
    ReplaceHeapText(inputPath_, nullptr);
    ReplaceHeapText(pattern_, nullptr);
}

void CAVIToFiles::Post(UINT message, WPARAM wParam)
{
    PostMessageA(notifyWindow_, message, wParam, reinterpret_cast<LPARAM>(this));
}

void CAVIToFiles::PostEnd(WPARAM wParam)
{
    if (endPosted_.exchange(true))
        return;
    Post(CountMode() ? kCountDone : kConvertDone, wParam);
}

void CAVIToFiles::SetInputFile(char* path)
{
    if (!path)
        return;
    char* start = SkipSpaces(path);
    std::memmove(path, start, std::strlen(start) + 1);
    TrimRight(path);
    if (inputPath_ && lstrcmpiA(inputPath_, path) == 0)
        return;
    ReplaceHeapText(inputPath_, path);
    frameCount_ = -1;
}

void CAVIToFiles::StartRun(int stopFrame, int frameLimit)
{
    stopFrame_ = stopFrame;
    frameIndex_ = 0;
    frameLimit_ = frameLimit;
    endPosted_ = false;
    writeFailed_ = false;
}

bool CAVIToFiles::CountFrames(char* path, int stopFrame, int limit)
{
    // A count while a graph is rendered would report that graph's run as this file's.
    if (basicVideo_ || !path)
        return false;
    SetInputFile(path);
    if (!RenderFile(inputPath_)) {
        if (FileExists(inputPath_)) {
            frameCount_ = 0;
            Post(kConvertDone, 0);
        }
        return false;
    }
    StartRun(stopFrame, std::clamp(limit, 1, kMaxFrameLimit));
    return RunGraph();
}

bool CAVIToFiles::Convert(char* path, const char* pattern, int first, int step)
{
    if (basicVideo_ || !path)
        return false;
    SetInputFile(path);
    first = first > 0 ? first : 0;
    step = HeldFileStep(step);
    if (NumberedNamesInclude(pattern, first, step, kMaxFrameLimit, inputPath_) ||
        !RenderFile(inputPath_))
        return false;
    ReplaceHeapText(pattern_, pattern);
    nextNumber_ = first;
    step_ = step;
    StartRun(-1, kMaxFrameLimit);
    return RunGraph();
}

bool CAVIToFiles::RunGraph()
{
    RemoveReferenceClock();
    frameIndex_ = 0;
    return Run();
}

void CAVIToFiles::WriteFrame(double sampleTime, IMediaSample* sample)
{
    CVideoGraph::SampleCB(sampleTime, sample);
    // Without a pattern, a frame source or a frame in it, the frame is only counted.
    if (pattern_ && consumer_ && consumer_->GetData(nullptr, nullptr)) {
        char name[kPathBufferSize];
        // A name too long for a path is a bitmap that cannot be written, like a full disk.
        const bool named = FormatNumberedName(pattern_, nextNumber_, name, sizeof name);
        if (!named || (*name && !(consumer_->SetFileName(name) && consumer_->SaveImage()))) {
            writeFailed_ = true;
            PostEnd(static_cast<WPARAM>(frameIndex_.load()));
            return;
        }
        if (*name)
            nextNumber_ += step_;
    }
    Post(kFrameDone, static_cast<WPARAM>(frameIndex_.load()));
    ++frameIndex_;
}

HRESULT CAVIToFiles::SampleCB(double sampleTime, IMediaSample* sample)
{
    if (endPosted_)
        return S_OK;
    if (frameIndex_ < frameLimit_) {
        if (!CountMode()) {
            WriteFrame(sampleTime, sample);
        } else if (frameIndex_ == stopFrame_) {
            CVideoGraph::SampleCB(sampleTime, sample);
            PostEnd(static_cast<WPARAM>(frameIndex_.load()));
            return S_OK;
        } else {
            Post(kCounting, 1);
            ++frameIndex_;
        }
    }
    if (!endPosted_ && frameIndex_ >= frameLimit_) {
        frameCount_ = frameIndex_.load();
        PostEnd(static_cast<WPARAM>(frameCount_.load()));
    }
    return S_OK;
}

bool CAVIToFiles::HandleGraphEvents()
{
    bool completed = false;
    DrainEvents([this, &completed](long code) {
        if (code != EC_COMPLETE)
            return;
        completed = true;
        if (!endPosted_) {
            const int frames = frameCount_ >= 0 ? frameCount_.load() : frameIndex_.load();
            frameCount_ = frames;
            PostEnd(static_cast<WPARAM>(frames));
        }
        frameIndex_ = 0;
    });
    return completed;
}

int CAVIToFiles::GetFrameCount()
{
    return frameCount_;
}

bool CAVIToFiles::HasFrames()
{
    return frameCount_ > 0;
}
