#include "creator/engine/FrameComposition.h"

#include "creator/engine/ColourClustering.h"
#include "creator/engine/FaceBlend.h"
#include "creator/engine/FrameAnalysis.h"
#include "creator/engine/RegionSearch.h"
#include "creator/engine/RegionSearchScratch.h"
#include "media/MakerSite.h"
#include "platform/win/Sync.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double kIntroSeconds = 5.0;
constexpr int kClusterCount = 256;
// The smoothing before the analysis.
constexpr double kColourSigma = 50;
constexpr double kSpaceSigma = 5;
constexpr int kFaceDirections = 16;
constexpr float kDirectionStep = 22.5f;
constexpr int kSmallestFaceArea = 64;
constexpr int kCardWidth = 320;
constexpr int kCardHeight = 240;
constexpr int kTextBufferSize = 260;
// The largest face size percent the options offer: no face is drawn larger than this
// share of the frame.
constexpr int kLargestFaceSizePercent = 200;
const cv::Scalar kWhite(255, 255, 255, 0);
const cv::Scalar kBlack(0, 0, 0, 0);

// A rectangle within 6 pixels of the frame's size that does not touch the top-left
// corner counts as covering the whole frame.
bool CoversFrame(const cv::Rect& r, int width, int height)
{
    return r.width + 6 >= width && r.height + 6 >= height && r.x >= 1 && r.y >= 1;
}

// Holds a source's lock for the scope, for a source that may be absent.
class SourceLock {
public:
    explicit SourceLock(CBufferFrame* source) : source_(source)
    {
        if (source_)
            source_->Lock();
    }
    ~SourceLock()
    {
        if (source_)
            source_->Unlock();
    }
    SourceLock(const SourceLock&) = delete;
    SourceLock& operator=(const SourceLock&) = delete;

private:
    CBufferFrame* source_;
};

// The picture of a source as a caller-owned copy; null when the source holds none.
ImagePtr CopyOfPicture(CBufferFrame* source)
{
    FrameRecord record{};
    if (!source->GetFrame(&record))
        return nullptr;
    return ImagePtr(record.image);
}

// A 3-channel copy of a 1-channel picture; a 3-channel one is handed back as it is.
ImagePtr InColour(ImagePtr picture)
{
    if (!picture || picture->channels() == 3 || !picture->hasData())
        return picture;
    ImagePtr colour = Image::Create(picture->width(), picture->height(), 3, picture->origin());
    if (colour)
        cv::cvtColor(picture->fullMat(), colour->fullMat(), cv::COLOR_GRAY2BGR);
    return colour;
}

// Turns a top-down picture into the frames' bottom-up row order.
void TurnOver(Image& picture)
{
    cv::Mat rows = picture.fullMat();
    cv::flip(rows, rows, 0);
}

// A copy of picture resized to width x height by area averaging (a mask of 0 and 1 stays
// 0 and 1, by majority); null when memory runs out.
ImagePtr ShrunkTo(const Image& picture, int width, int height)
{
    ImagePtr shrunk = Image::Create(width, height, picture.channels(), picture.origin());
    if (shrunk) {
        cv::Mat target = shrunk->fullMat();
        cv::resize(picture.mat(), target, target.size(), 0, 0, cv::INTER_AREA);
    }
    return shrunk;
}

// Scales a face cut-out and its mask down, keeping their proportions, to fit within
// width x height; one that fits already stays as it is. Turning the face costs time in
// proportion to its pixels, and pixels beyond the largest size the face is ever drawn at
// would only be thrown away by the scaling at drawing time.
void FitWithin(ImagePtr& face, ImagePtr& mask, int width, int height)
{
    if (face->width() <= width && face->height() <= height)
        return;
    const double scale = std::min(static_cast<double>(width) / face->width(),
                                  static_cast<double>(height) / face->height());
    const int w = std::clamp(static_cast<int>(std::lround(face->width() * scale)), 1, width);
    const int h = std::clamp(static_cast<int>(std::lround(face->height() * scale)), 1, height);
    ImagePtr shrunkFace = ShrunkTo(*face, w, h);
    ImagePtr shrunkMask = mask ? ShrunkTo(*mask, w, h) : nullptr;
    // Without memory for the smaller copies the face is turned at its full size.
    if (!shrunkFace || (mask && !shrunkMask))
        return;
    face = std::move(shrunkFace);
    mask = std::move(shrunkMask);
}

void CopyPixels(const Image& from, Image& to)
{
    std::memcpy(to.data(), from.data(), to.imageSize());
}

}  // namespace

CFrameComposition::CFrameComposition() : workers_(RowWorkers::DefaultThreadCount()) {}

CFrameComposition::~CFrameComposition() = default;

void CFrameComposition::SetSources(CBufferFrame* background, CBufferFrame* face,
                                   CBufferFrame* templ, CBufferFrame* video)
{
    backgroundSource_ = background;
    faceSource_ = face;
    templateSource_ = templ;
    videoSource_ = video;
}

void CFrameComposition::Start(int total)
{
    framesDone_ = 0;
    total_ = total;
    endFrame_ = total;
    times_.Reset();
}

void CFrameComposition::Prepare()
{
    ReleasePictures();
    StepClock clock(times_);
    PrepareWorkImages();
    PrepareBackground();
    clock.Lap(CompositionTimes::WorkImages);
    PrepareFaces();
}

void CFrameComposition::PrepareWorkImages()
{
    if (!templateSource_ || !videoSource_)
        return;
    videoSource_->SetData(nullptr, 0);
    FrameRecord record{};
    if (!templateSource_->GetFrame(&record) || !record.image)
        return;
    ImagePtr frame(record.image);
    // The output picture takes the template's frame size; only then do the work images
    // that are compared with it exist.
    if (!videoSource_->SetFrame(&record))
        return;
    const int w = frame->width();
    const int h = frame->height();
    // The masks start cleared: a frame without a background region reads them before any
    // search has written them.
    subjectMask_ = Image::Create(w, h, 1, ImageOrigin::BottomLeft);
    faceMask_ = Image::Create(w, h, 1, ImageOrigin::BottomLeft);
    frameCopy_ = frame->Clone();
    scratchA_ = Image::Create(w + 2, h + 2, 1, ImageOrigin::BottomLeft);
    scratchB_ = Image::Create(w + 2, h + 2, 1, ImageOrigin::BottomLeft);
    card_ = Image::Create(kCardWidth, kCardHeight, frame->channels(), ImageOrigin::BottomLeft);
    searchScratch_ = std::make_unique<RegionSearchScratch>(w, h);
}

void CFrameComposition::PrepareBackground()
{
    if (!templateSource_ || !backgroundSource_)
        return;
    FrameRecord record{};
    if (!templateSource_->GetFrame(&record) || !record.image)
        return;
    ImagePtr picture(record.image);
    // The template frame gives the size and channel count; the background source
    // stretches its picture into it, converting 1 channel to 3.
    if (!backgroundSource_->GetFrameScaled(&record) || !picture->hasData())
        return;
    TurnOver(*picture);
    background_ = std::move(picture);
}

void CFrameComposition::PrepareFaces()
{
    if (!faceSource_)
        return;
    StepClock clock(times_);
    ImagePtr picture = InColour(CopyOfPicture(faceSource_));
    if (!picture || !picture->hasData())
        return;
    TurnOver(*picture);
    ImagePtr face;
    ImagePtr mask;
    FindMarkedRegion(picture.get(), nullptr, nullptr, nullptr, &face, &mask, nullptr, nullptr,
                     nullptr);
    picture.reset();
    clock.Lap(CompositionTimes::FaceCutOut);
    // Without a flat backdrop there is no cut-out and the set stays empty.
    if (!face)
        return;
    if (frameCopy_)
        FitWithin(face, mask, frameCopy_->width() * kLargestFaceSizePercent / 100,
                  frameCopy_->height() * kLargestFaceSizePercent / 100);
    clock.Lap(CompositionTimes::FaceScaling);
    faces_.Build(face, mask, kFaceDirections, true, &workers_);
    clock.Lap(CompositionTimes::FaceTurning);
}

void CFrameComposition::Release()
{
    ReleasePictures();
    framesDone_ = 0;
    total_ = 0;
    endFrame_ = 0;
}

void CFrameComposition::ReleasePictures()
{
    background_.reset();
    subjectMask_.reset();
    faceMask_.reset();
    frameCopy_.reset();
    scratchA_.reset();
    scratchB_.reset();
    card_.reset();
    stretchedCard_.reset();
    stretchedCardLine_.clear();
    searchScratch_.reset();
    faces_.Clear();
}

CFrameComposition::Mode CFrameComposition::ChooseMode(int n, double t, int endFrame)
{
    if (n >= endFrame)
        return Mode::Ending;
    if (t >= kIntroSeconds || n == 0)
        return Mode::Composed;
    return Mode::Intro;
}

int CFrameComposition::LowerEndFrame(int n, int total, int endFrame)
{
    if (n > 0 && endFrame >= total && 2 * n < total)
        return total - n;
    return endFrame;
}

int CFrameComposition::IntroSeconds(double t)
{
    return static_cast<int>(kIntroSeconds - t + 0.5);
}

int CFrameComposition::EndingSeconds(double t, int total, int n)
{
    if (n < 1)
        return 0;
    // A template longer than its counted frames goes on past the total: nothing is left.
    return std::max(0, static_cast<int>(t * total / n - t + 0.5));
}

int CFrameComposition::FaceDirectionIndex(float angle)
{
    if (angle < 0.0f)
        angle += 360.0f;
    else if (angle >= 360.0f)
        angle -= 360.0f;
    return static_cast<int>(angle / kDirectionStep + 0.5f) % kFaceDirections;
}

cv::Rect CFrameComposition::ScaledFaceRect(const cv::Rect& region, int percent)
{
    const int w = region.width * percent / 100;
    const int h = region.height * percent / 100;
    return cv::Rect(region.x - std::abs(w - region.width) / 2,
                    region.y - std::abs(h - region.height) / 2, w, h);
}

bool CFrameComposition::CanCompose(const Image& frame, long sampleSize, const Image* output) const
{
    // A sample of another layout than the output picture would be read and written
    // beyond its end, so the byte count alone is not enough.
    return frame.hasData() && output && output->hasData() && sampleSize >= 0 &&
           static_cast<std::size_t>(sampleSize) == output->imageSize() &&
           ImagesMatch(frame, *output) && frame.imageSize() == output->imageSize() && frameCopy_ &&
           frameCopy_->hasData() && ImagesMatch(*frameCopy_, frame) && scratchA_ && scratchB_;
}

int CFrameComposition::Compose(Image& frame, long sampleSize, double time)
{
    StepClock whole(times_);
    SourceLock hold(videoSource_);
    Image* output = nullptr;
    if (videoSource_) {
        void* held = nullptr;
        if (videoSource_->GetData(&held, nullptr))
            output = static_cast<Image*>(held);
    }
    if (!CanCompose(frame, sampleSize, output))
        return -1;

    const int n = framesDone_;
    StepClock clock(times_);
    switch (ChooseMode(n, time, endFrame_)) {
    case Mode::Ending: {
        char line[kTextBufferSize] = {};
        std::snprintf(line, sizeof line, "Ending in %d seconds", EndingSeconds(time, total_, n));
        DrawCard(*output, line);
        clock.Lap(CompositionTimes::Cards);
        ++times_.cardFrames;
        break;
    }
    case Mode::Composed:
        ComposeFrame(frame, *output, n, time, clock);
        ++times_.composedFrames;
        break;
    case Mode::Intro: {
        char line[kTextBufferSize] = {};
        std::snprintf(line, sizeof line, "Starting in %d seconds", IntroSeconds(time));
        DrawCard(*output, line);
        clock.Lap(CompositionTimes::Cards);
        ++times_.cardFrames;
        break;
    }
    }
    CopyPixels(*output, frame);
    clock.Lap(CompositionTimes::Copies);
    framesDone_ = n + 1;
    whole.Lap(CompositionTimes::Callback);
    return n;
}

void CFrameComposition::ComposeFrame(Image& frame, Image& output, int n, double t, StepClock& clock)
{
    endFrame_ = LowerEndFrame(n, total_, endFrame_);
    const int width = frame.width();
    const int height = frame.height();

    // The analysis runs on the sample buffer itself; the raw picture is kept in the
    // frame copy for the output.
    CopyPixels(frame, *frameCopy_);
    clock.Lap(CompositionTimes::Copies);
    std::array<ColourCluster, kClusterCount> clusters;
    const int clusterCount = SmoothAndCluster(*frameCopy_, frame, kColourSigma, kSpaceSigma,
                                              clusters.data(), kClusterCount, workers_);
    clock.Lap(CompositionTimes::Smoothing);
    QuantiseColours(frame, frame, clusters.data(), clusterCount, &workers_);
    clock.Lap(CompositionTimes::Quantising);

    cv::Rect subjectRect;
    cv::Scalar backgroundColour;
    int backgroundArea = 0;
    const bool found =
        FindMarkedRegion(&frame, subjectMask_.get(), scratchA_.get(), scratchB_.get(), nullptr,
                         nullptr, &subjectRect, &backgroundColour, &backgroundArea);

    // A background that is only a thin margin along the edges: the frame stays as it is.
    bool keepFrame = false;
    if (CoversFrame(subjectRect, width, height)) {
        const int outside = std::max(width * height - subjectRect.width * subjectRect.height, 0);
        keepFrame = std::abs(backgroundArea - outside) < outside / 4;
    }
    clock.Lap(CompositionTimes::MarkedRegion);

    cv::Rect faceRect;
    float angle = 0.0f;
    if (!keepFrame) {
        if (found && subjectMask_)
            FindBestRegion(&frame, subjectMask_.get(), faceMask_.get(), scratchA_.get(),
                           scratchB_.get(), &subjectRect, &faceRect, &angle, kSmallestFaceArea, 0,
                           searchScratch_.get());
        // A face spot as large as the frame is no face spot.
        if (CoversFrame(faceRect, width, height)) {
            keepFrame = true;
            faceRect = cv::Rect();
        }
    }
    clock.Lap(CompositionTimes::BestRegion);

    if (keepFrame)
        CopyPixels(*frameCopy_, output);
    else if (background_ && background_->hasData() && ImagesMatch(*background_, output))
        CopyPixels(*background_, output);
    else if (!found)
        CopyPixels(*frameCopy_, output);
    else
        output.fullMat().setTo(backgroundColour);
    clock.Lap(CompositionTimes::Copies);

    const int index = FaceDirectionIndex(angle);
    const Image* face = faces_.GetImage(index);
    const Image* faceMask = faces_.GetMask(index);
    if (face && faceMask && face->hasData() && faceMask->hasData() && faceRect.width > 0 &&
        faceRect.height > 0)
        PlaceFace(*face, *faceMask, faceRect, output);

    // The template's figure goes over the background and the face's edges; the face
    // shows only through the face spot.
    if (!keepFrame && subjectMask_) {
        if (face && faceMask_)
            cv::subtract(subjectMask_->fullMat(), faceMask_->fullMat(), subjectMask_->fullMat());
        BlendFaceIntoFrame(*frameCopy_, output, *subjectMask_, 0, 0, frameCopy_->width(),
                           frameCopy_->height(), &workers_);
    }
    clock.Lap(CompositionTimes::Blends);

    // The preview reads the output picture under the same lock: give it its turn while
    // the picture is complete but for the caption.
    if (videoSource_) {
        videoSource_->SignalAll();
        videoSource_->Unlock();
        Sleep(1);
        videoSource_->Lock();
    }
    clock.Lap(CompositionTimes::HandOver);

    const int brightness = MeanIntensity(&output, 0, 0, output.width(), 20);
    const cv::Scalar colour = brightness >= 128 ? kBlack : kWhite;
    const char* text = kMakerHost;
    if (n != 0 && static_cast<int>(t * 0.5) % 2 == 0)
        text = "Automatically produced by";
    DrawCaption(&output, text, 1, output.height() - 3, colour);
    clock.Lap(CompositionTimes::Caption);
}

void CFrameComposition::PlaceFace(const Image& face, const Image& mask, const cv::Rect& region,
                                  Image& output)
{
    const cv::Rect place = ScaledFaceRect(region, faceSizePercent_);
    ImagePtr scaledFace = Image::Create(place.width, place.height, face.channels());
    ImagePtr scaledMask = Image::Create(place.width, place.height, 1);
    if (!scaledFace || !scaledMask)
        return;
    cv::Mat faceTarget = scaledFace->fullMat();
    cv::Mat maskTarget = scaledMask->fullMat();
    cv::resize(face.mat(), faceTarget, faceTarget.size(), 0, 0, cv::INTER_LINEAR);
    cv::resize(mask.mat(), maskTarget, maskTarget.size(), 0, 0, cv::INTER_LINEAR);
    BlendFaceIntoFrame(*scaledFace, output, *scaledMask, place.x, place.y, place.width,
                       place.height);
}

void CFrameComposition::DrawCard(Image& output, const char* firstLine)
{
    if (!card_)
        return;
    if (stretchedCard_ && ImagesMatch(*stretchedCard_, output) && stretchedCardLine_ == firstLine) {
        CopyPixels(*stretchedCard_, output);
        return;
    }
    card_->fullMat().setTo(kBlack);
    struct CardLine {
        int y;
        const char* text;
    };
    const CardLine lines[] = {
        {15, firstLine},
        {30, "Use Windows Media Player 9"},
        {45, "or above to hear the audio"},
        {70, "Automatically produced by"},
        {85, "freeware from"},
        {100, "Halvorsk"},
        {125, "To download, or to place"},
        {140, "advertisement in the video, visit"},
        {155, kMakerHost},
    };
    for (const CardLine& line : lines)
        DrawCaption(card_.get(), line.text, 1, line.y, kWhite);
    cv::Mat target = output.fullMat();
    cv::resize(card_->fullMat(), target, target.size(), 0, 0, cv::INTER_LINEAR);
    if (stretchedCard_ && ImagesMatch(*stretchedCard_, output))
        CopyPixels(output, *stretchedCard_);
    else
        stretchedCard_ = output.Clone();
    stretchedCardLine_ = firstLine;
}

bool DrawCaption(Image* image, const char* text, int x, int y, const cv::Scalar& colour)
{
    if (!image || !image->hasData() || !text)
        return false;
    // Drawn as for a bottom-left origin: OpenCV mirrors the glyphs vertically, so that in
    // the bottom-up rows they read upright with the baseline on stored row height - y.
    cv::Mat rows = image->fullMat();
    cv::putText(rows, text, cv::Point(x, image->height() - y), cv::FONT_HERSHEY_PLAIN, 1.0, colour,
                1, cv::LINE_8, true);
    return true;
}
