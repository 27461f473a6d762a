#include "creator/engine/VideoFrame.h"

#include <algorithm>

int CVideoFrame::Open(const char* path, int previewIndex, int frameLimit, HWND notifyWindow,
                      UINT message)
{
    // The template being read keeps its counters and target: its streaming thread may be
    // counting right now.
    if (basicVideo_)
        return 0;
    previewIndex_ = previewIndex;
    framesCounted_ = 0;
    counted_ = false;
    frameLimit_ = static_cast<std::uint8_t>(std::clamp(frameLimit, 0, kMaxFrameLimit));
    messageWindow_ = notifyWindow;
    message_ = message;
    // A gap left by the previous template would otherwise outlive it whenever the new
    // one does not start at time 0.
    largestGap_ = 0.0;
    previousTime_ = 0.0;
    if (!RenderFile(path))
        return 0;
    RemoveReferenceClock();
    return Run() ? 1 : 0;
}

int CVideoFrame::GetFrameCount()
{
    return framesCounted_;
}

bool CVideoFrame::HasCounted() const
{
    return counted_;
}

double CVideoFrame::GetLargestGap() const
{
    return largestGap_;
}

int CVideoFrame::GetFrameLimit() const
{
    return frameLimit_;
}

HRESULT CVideoFrame::SampleCB(double sampleTime, IMediaSample* sample)
{
    // The step from time 0 to the first sample after a sample at 0 counts as a gap.
    if (previousTime_ > 0)
        largestGap_ = std::max(largestGap_.load(), sampleTime - previousTime_);
    else
        largestGap_ = sampleTime;
    previousTime_ = sampleTime;

    if (framesCounted_ == previewIndex_)
        CVideoGraph::SampleCB(sampleTime, sample);
    if (framesCounted_ < frameLimit_)
        ++framesCounted_;
    else
        Notify();
    return S_OK;
}

int CVideoFrame::OnGraphEvent()
{
    int completed = 0;
    DrainEvents([this, &completed](long code) {
        if (code == EC_COMPLETE) {
            Notify();
            completed = 1;
        }
    });
    return completed;
}

void CVideoFrame::Notify()
{
    counted_ = true;
    PostMessageA(messageWindow_, message_, 0, 0);
}
