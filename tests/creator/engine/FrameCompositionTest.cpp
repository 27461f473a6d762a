#include "creator/engine/FrameComposition.h"

#include "creator/engine/CompositionPictures.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

namespace {

using namespace composition_pictures;

constexpr int kW = kFrameWidth;
constexpr int kH = kFrameHeight;

ImagePtr Noise(int w, int h, int channels)
{
    ImagePtr picture = Image::Create(w, h, channels);
    std::mt19937 random(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * channels; ++x)
            picture->row(y)[x] = static_cast<std::uint8_t>(random());
    return picture;
}

bool Near(const std::uint8_t* pixel, const cv::Scalar& colour, int tolerance = 40)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(pixel[c] - static_cast<int>(colour[c])) > tolerance)
            return false;
    return true;
}

// Stored rows from..to of two pictures hold the same bytes.
bool SameRows(const Image& a, const Image& b, int from, int to)
{
    for (int y = from; y <= to; ++y)
        if (std::memcmp(a.row(y), b.row(y), a.width() * a.channels()) != 0)
            return false;
    return true;
}

int CountPixels(const Image& picture, int fromRow, int toRow, const cv::Scalar& colour)
{
    int count = 0;
    for (int y = fromRow; y <= toRow; ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += Near(picture.pixel(x, y), colour, 0) ? 1 : 0;
    return count;
}

struct Composition : ::testing::Test {
    Composition()
    {
        for (CBufferFrame* source : {&background, &face, &templ, &video})
            source->Create("source", 2);
        composition.SetSources(&background, &face, &templ, &video);
    }
    ~Composition() override
    {
        for (CBufferFrame* source : {&background, &face, &templ, &video})
            source->Close();
    }

    static void Hold(CBufferFrame& source, ImagePtr picture) { source.SetImage(picture.release()); }

    void Open(ImagePtr frame, int total)
    {
        Hold(templ, std::move(frame));
        composition.Start(total);
        composition.Prepare();
    }

    // Composes a copy of frame as the sample at time t; gives the composed sample.
    ImagePtr Sample(const Image& frame, double t, int* index = nullptr)
    {
        ImagePtr sample = frame.Clone();
        const int n = composition.Compose(*sample, static_cast<long>(sample->imageSize()), t);
        if (index)
            *index = n;
        return sample;
    }

    const Image& Output()
    {
        void* held = nullptr;
        video.GetData(&held, nullptr);
        return *static_cast<Image*>(held);
    }

    CBufferFrame background, face, templ, video;
    CFrameComposition composition;
};

// An intro or ending card stretched over the frame is mostly black.
bool ShowsCard(const Image& sample)
{
    return CountPixels(sample, 0, sample.height() - 1, cv::Scalar(0, 0, 0)) >
           sample.width() * sample.height() * 3 / 4;
}

}  // namespace

TEST(CompositionTiming, IntroAtTwoFramesPerSecondCountsDownFromFive)
{
    const int expected[] = {5, 4, 4, 3, 3, 2, 2, 1, 1};
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(CFrameComposition::ChooseMode(n, n * 0.5, 30), CFrameComposition::Mode::Intro);
        EXPECT_EQ(CFrameComposition::IntroSeconds(n * 0.5), expected[n - 1]) << n;
    }
    EXPECT_EQ(CFrameComposition::ChooseMode(0, 0.0, 30), CFrameComposition::Mode::Composed);
    EXPECT_EQ(CFrameComposition::ChooseMode(10, 5.0, 30), CFrameComposition::Mode::Composed);
    EXPECT_EQ(CFrameComposition::ChooseMode(3, 1.5, 3), CFrameComposition::Mode::Ending);
}

TEST(CompositionTiming, EndFrameIsLoweredOnlyBeforeHalfTheTotalAndOnce)
{
    EXPECT_EQ(CFrameComposition::LowerEndFrame(10, 30, 30), 20);
    EXPECT_EQ(CFrameComposition::LowerEndFrame(10, 20, 20), 20);
    EXPECT_EQ(CFrameComposition::LowerEndFrame(0, 30, 30), 30);
    EXPECT_EQ(CFrameComposition::LowerEndFrame(11, 30, 20), 20);
}

TEST(CompositionTiming, EndingSecondsFollowThePaceAndAreZeroBeforeAnyFrameAndPastTheTotal)
{
    EXPECT_EQ(CFrameComposition::EndingSeconds(3.0, 0, 0), 0);
    // 20 frames took 10 seconds; 30 are reached at 15 s.
    EXPECT_EQ(CFrameComposition::EndingSeconds(10.0, 30, 20), 5);
    EXPECT_EQ(CFrameComposition::EndingSeconds(10.0, 29, 20), 5);  // 4.5 rounds up
    // A template longer than its counted frames: at 24 frames per second the total of 126
    // is passed at 5.25 s, and the frames after it still announce no negative time.
    EXPECT_EQ(CFrameComposition::EndingSeconds(5.25, 126, 126), 0);
    EXPECT_EQ(CFrameComposition::EndingSeconds(8.0, 126, 192), 0);
    EXPECT_EQ(CFrameComposition::EndingSeconds(20.0, 126, 480), 0);
}

TEST(CompositionGeometry, AngleMapsToTheNearestOfSixteenDirections)
{
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(-10.0f), 0);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(11.25f), 1);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(11.0f), 0);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(348.75f), 0);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(-180.0f), 8);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(90.0f), 4);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(-90.0f), 12);
    EXPECT_EQ(CFrameComposition::FaceDirectionIndex(370.0f), 0);
}

TEST(CompositionGeometry, FaceSizePercentEnlargesAboutTheCentre)
{
    EXPECT_EQ(CFrameComposition::ScaledFaceRect(cv::Rect(100, 80, 50, 40), 120),
              cv::Rect(95, 76, 60, 48));
    EXPECT_EQ(CFrameComposition::ScaledFaceRect(cv::Rect(100, 80, 50, 40), 100),
              cv::Rect(100, 80, 50, 40));
    EXPECT_EQ(CFrameComposition::ScaledFaceRect(cv::Rect(0, 0, 33, 33), 200),
              cv::Rect(-16, -16, 66, 66));
}

TEST(DrawCaption, TextReadsUprightInBottomUpRows)
{
    ImagePtr picture = Picture(40, 30, cv::Scalar(0, 0, 0), 3, ImageOrigin::BottomLeft);
    ASSERT_TRUE(DrawCaption(picture.get(), "T", 1, 20, cv::Scalar(255, 255, 255)));
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < 30; ++y) {
        if (CountPixels(*picture, y, y, cv::Scalar(255, 255, 255)) > 0) {
            if (bottom < 0)
                bottom = y;
            top = y;
        }
    }
    // The baseline lies on stored row 30 - 20; the glyph rises above it as shown, which
    // is towards higher stored rows, and the bar of the T is its widest, topmost row.
    ASSERT_GE(bottom, 0);
    EXPECT_GE(bottom, 9);
    EXPECT_GT(top, 10);
    EXPECT_GT(CountPixels(*picture, top, top, cv::Scalar(255, 255, 255)),
              CountPixels(*picture, bottom, bottom, cv::Scalar(255, 255, 255)));
}

TEST(DrawCaption, MissingPictureOrTextDrawsNothing)
{
    ImagePtr header = Image::CreateHeader(10, 10, 3);
    ImagePtr picture = Picture(10, 10, cv::Scalar(0, 0, 0));
    EXPECT_FALSE(DrawCaption(nullptr, "x", 1, 5, cv::Scalar()));
    EXPECT_FALSE(DrawCaption(header.get(), "x", 1, 5, cv::Scalar()));
    EXPECT_FALSE(DrawCaption(picture.get(), nullptr, 1, 5, cv::Scalar()));
}

TEST_F(Composition, FrameZeroIsComposedAndTheIntroFollowsUntilFiveSeconds)
{
    const ImagePtr frame = TemplateFrame();
    Open(frame->Clone(), 30);
    for (int n = 0; n <= 10; ++n) {
        int index = -1;
        const ImagePtr sample = Sample(*frame, n * 0.5, &index);
        EXPECT_EQ(index, n);
        EXPECT_EQ(ShowsCard(*sample), n >= 1 && n <= 9) << n;
        EXPECT_TRUE(SameRows(*sample, Output(), 0, kH - 1));
    }
    EXPECT_EQ(composition.framesDone(), 11);
    EXPECT_EQ(composition.endFrame(), 20);
    for (int n = 11; n < 20; ++n)
        EXPECT_FALSE(ShowsCard(*Sample(*frame, n * 0.5))) << n;
    EXPECT_TRUE(ShowsCard(*Sample(*frame, 10.0)));
    EXPECT_EQ(composition.framesDone(), 21);
}

TEST_F(Composition, KeptIntroCardEqualsOneDrawnAfresh)
{
    const ImagePtr frame = TemplateFrame();
    Open(frame->Clone(), 30);
    Sample(*frame, 0.0);
    Sample(*frame, 0.2);                        // "Starting in 5 seconds", drawn
    const ImagePtr kept = Sample(*frame, 0.4);  // the same text: the stretched card is kept
    const ImagePtr next = Sample(*frame, 1.0);  // "Starting in 4 seconds"

    CFrameComposition fresh;
    fresh.SetSources(&background, &face, &templ, &video);
    fresh.Start(30);
    fresh.Prepare();
    for (const double t : {0.0, 0.4}) {
        ImagePtr sample = frame->Clone();
        fresh.Compose(*sample, static_cast<long>(sample->imageSize()), t);
        if (t > 0) {
            EXPECT_TRUE(SameRows(*sample, *kept, 0, kH - 1));
        }
    }
    ImagePtr sample = frame->Clone();
    fresh.Compose(*sample, static_cast<long>(sample->imageSize()), 1.0);
    EXPECT_TRUE(SameRows(*sample, *next, 0, kH - 1));
    EXPECT_FALSE(SameRows(*kept, *next, 0, kH - 1));
}

TEST_F(Composition, ShortTemplateShowsIntroThenEndingWithoutLoweringTheEnd)
{
    const ImagePtr frame = TemplateFrame();
    Open(frame->Clone(), 6);
    for (int n = 0; n <= 7; ++n) {
        const ImagePtr sample = Sample(*frame, n * 0.5);
        EXPECT_EQ(ShowsCard(*sample), n >= 1) << n;
    }
    EXPECT_EQ(composition.endFrame(), 6);
}

TEST_F(Composition, TotalOfTwentyAtTwoFramesPerSecondKeepsTheEndFrame)
{
    const ImagePtr frame = TemplateFrame();
    Open(frame->Clone(), 20);
    for (int n = 0; n <= 20; ++n) {
        const ImagePtr sample = Sample(*frame, n * 0.5);
        EXPECT_EQ(ShowsCard(*sample), (n >= 1 && n <= 9) || n == 20) << n;
    }
    EXPECT_EQ(composition.endFrame(), 20);
}

TEST_F(Composition, SampleOfAnotherLayoutPassesUnchanged)
{
    Open(TemplateFrame(), 30);
    // The same byte count as the output picture, but one channel three times as wide.
    ImagePtr wide = Noise(kW * 3, kH, 1);
    ImagePtr small = Noise(kW / 2, kH / 2, 3);
    for (Image* sample : {wide.get(), small.get()}) {
        const ImagePtr before = sample->Clone();
        EXPECT_EQ(composition.Compose(*sample, static_cast<long>(sample->imageSize()), 0.0), -1);
        EXPECT_TRUE(SameRows(*sample, *before, 0, sample->height() - 1));
    }
    const ImagePtr frame = TemplateFrame();
    EXPECT_EQ(composition.Compose(*frame, static_cast<long>(frame->imageSize()) + 4, 0.0), -1);
    EXPECT_EQ(composition.framesDone(), 0);
}

TEST_F(Composition, WithoutWorkImagesEverySamplePassesUnchanged)
{
    composition.SetSources(&background, &face, nullptr, &video);
    Hold(face, FacePicture());
    Open(TemplateFrame(), 30);
    const ImagePtr frame = TemplateFrame();
    const ImagePtr sample = frame->Clone();
    EXPECT_EQ(composition.Compose(*sample, static_cast<long>(sample->imageSize()), 0.0), -1);
    EXPECT_TRUE(SameRows(*sample, *frame, 0, kH - 1));
}

TEST_F(Composition, FaceIsPlacedInTheSpotTurnedAsTheSpot)
{
    Hold(face, FacePicture());
    Open(TemplateFrame(), 30);
    ASSERT_EQ(composition.faces().count(), 16);

    const ImagePtr upright = Sample(*TemplateFrame(), 0.0);
    // The blue top of the face lies towards higher stored rows, the top as shown.
    EXPECT_TRUE(Near(upright->pixel(80, 101), kBlue));
    EXPECT_TRUE(Near(upright->pixel(80, 80), kRed));
    EXPECT_TRUE(Near(upright->pixel(80, 73), kRed));  // the mouth shows the face too
    // The figure and the background are the template's own.
    EXPECT_TRUE(Near(upright->pixel(45, 60), kBody, 0));
    EXPECT_TRUE(Near(upright->pixel(10, 60), kGreen, 3));

    const ImagePtr turned = Sample(*TemplateFrame(true), 5.0);
    EXPECT_TRUE(Near(turned->pixel(80, 68), kBlue));
    EXPECT_TRUE(Near(turned->pixel(80, 95), kRed));
}

TEST_F(Composition, FaceCutOutBeyondTwiceTheFrameIsScaledDownToItBeforeItIsTurned)
{
    // The face is never drawn beyond twice the frame (320 x 240), so a 600 x 300 cut-out
    // is turned at 320 x 160: its proportions kept, its mask still whole.
    ImagePtr large = Picture(700, 520, cv::Scalar(255, 255, 255));
    Paint(*large, cv::Rect(50, 100, 600, 300), kRed);
    Hold(face, std::move(large));
    Open(TemplateFrame(), 30);
    const Image* entry = composition.faces().GetImage(0);
    const Image* mask = composition.faces().GetMask(0);
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(entry->width(), 2 * kW);
    EXPECT_EQ(entry->height(), 160);
    EXPECT_EQ(mask->width(), 2 * kW);
    EXPECT_EQ(cv::countNonZero(mask->mat()), 2 * kW * 160);
    EXPECT_TRUE(Near(entry->pixel(100, 80), kRed, 0));
    ASSERT_NE(composition.faces().GetImage(3), nullptr);
    EXPECT_TRUE(Near(Sample(*TemplateFrame(), 0.0)->pixel(80, 85), kRed));
}

TEST_F(Composition, FaceCutOutWithinTwiceTheFrameIsTurnedAtItsOwnSize)
{
    ImagePtr picture = Picture(330, 250, cv::Scalar(255, 255, 255));
    Paint(*picture, cv::Rect(5, 5, 2 * kW, 2 * kH), kRed);
    Paint(*picture, cv::Rect(100, 100, 7, 3), kBlue);
    Hold(face, picture->Clone());
    Open(TemplateFrame(), 30);
    const Image* entry = composition.faces().GetImage(0);
    ASSERT_NE(entry, nullptr);
    // The picture as the creator holds it, bottom-up: the entry is its part of the block.
    cv::Mat rows = picture->fullMat();
    cv::flip(rows, rows, 0);
    const cv::Rect block(5, 250 - 5 - 2 * kH, 2 * kW, 2 * kH);
    ASSERT_EQ(entry->width(), block.width);
    ASSERT_EQ(entry->height(), block.height);
    EXPECT_EQ(cv::norm(entry->mat(), picture->fullMat()(block), cv::NORM_INF), 0);
}

TEST_F(Composition, FacePictureWithoutFlatBackdropGivesFramesWithoutFace)
{
    Hold(face, Noise(60, 60, 3));
    Open(TemplateFrame(), 30);
    EXPECT_EQ(composition.faces().GetImage(0), nullptr);
    int index = -1;
    const ImagePtr sample = Sample(*TemplateFrame(), 0.0, &index);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(CountPixels(*sample, 25, kH - 1, kRed), 0);
    EXPECT_TRUE(Near(sample->pixel(80, 85), kDark, 0));
}

TEST_F(Composition, OneChannelFacePictureIsTurnedIntoColourFirst)
{
    ImagePtr grey = Picture(60, 60, cv::Scalar(255), 1);
    Paint(*grey, cv::Rect(10, 10, 40, 40), cv::Scalar(90));
    Hold(face, std::move(grey));
    Open(TemplateFrame(), 30);
    ASSERT_NE(composition.faces().GetImage(0), nullptr);
    EXPECT_EQ(composition.faces().GetImage(0)->channels(), 3);
    const ImagePtr sample = Sample(*TemplateFrame(), 0.0);
    EXPECT_TRUE(Near(sample->pixel(80, 85), cv::Scalar(90, 90, 90), 0));
}

TEST_F(Composition, BackgroundOfAnotherSizeIsStretchedAndTurnedOver)
{
    // Top-down, 80 x 60: left half blue, right half red, its bottom line as shown yellow.
    ImagePtr picture = Picture(80, 60, kBlue);
    Paint(*picture, cv::Rect(40, 0, 40, 60), kRed);
    Paint(*picture, cv::Rect(0, 50, 80, 10), cv::Scalar(0, 255, 255));
    Hold(background, std::move(picture));
    Open(TemplateFrame(), 30);
    const ImagePtr sample = Sample(*TemplateFrame(), 0.0);
    EXPECT_TRUE(Near(sample->pixel(10, 100), kBlue, 0));
    EXPECT_TRUE(Near(sample->pixel(150, 100), kRed, 0));
    EXPECT_TRUE(Near(sample->pixel(150, 1), cv::Scalar(0, 255, 255), 0));
    EXPECT_TRUE(Near(sample->pixel(45, 60), kBody, 0));
}

TEST_F(Composition, OneChannelBackgroundIsUsedInColour)
{
    Hold(background, Picture(50, 50, cv::Scalar(200), 1));
    Open(TemplateFrame(), 30);
    const ImagePtr sample = Sample(*TemplateFrame(), 0.0);
    EXPECT_TRUE(Near(sample->pixel(10, 100), cv::Scalar(200, 200, 200), 0));
}

TEST_F(Composition, CaptionIsBlackFromMeanBrightness128AndWhiteBelow)
{
    for (int grey : {128, 127}) {
        // The bottom 20 lines as shown are the probed ones; the rest is darker.
        ImagePtr picture = Picture(kW, kH, cv::Scalar(60, 60, 60));
        Paint(*picture, cv::Rect(0, kH - 20, kW, 20), cv::Scalar(grey, grey, grey));
        Hold(background, std::move(picture));
        Open(TemplateFrame(), 30);
        const ImagePtr sample = Sample(*TemplateFrame(), 0.0);
        const int black = CountPixels(*sample, 0, 19, cv::Scalar(0, 0, 0));
        const int white = CountPixels(*sample, 0, 19, cv::Scalar(255, 255, 255));
        if (grey == 128) {
            EXPECT_GT(black, 20);
            EXPECT_EQ(white, 0);
        } else {
            EXPECT_GT(white, 20);
            EXPECT_EQ(black, 0);
        }
    }
}

TEST_F(Composition, ThinBackgroundMarginKeepsTheFrameButForTheCaption)
{
    ImagePtr frame = Picture(kW, kH, kGreen, 3, ImageOrigin::BottomLeft);
    Paint(*frame, cv::Rect(2, 2, kW - 4, kH - 4), kBody);
    PaintFaceSpot(*frame, 60, 60, false);
    Hold(background, Picture(kW, kH, kRed));
    Hold(face, FacePicture());
    Open(frame->Clone(), 30);
    const ImagePtr sample = Sample(*frame, 0.0);
    EXPECT_TRUE(SameRows(*sample, *frame, 20, kH - 1));
}

TEST_F(Composition, FrameWithoutABackgroundRegionFirstShowsTheBackgroundPictureOnly)
{
    // No search has written the figure's masks yet: they start empty, so nothing of the
    // frame is drawn over the user's picture.
    Hold(background, Picture(kW, kH, kBlue));
    // Twenty stripes of twenty colours: no region of one colour spans the frame.
    ImagePtr frame = Picture(kW, kH, kDark, 3, ImageOrigin::BottomLeft);
    for (int i = 0; i < 20; ++i)
        Paint(*frame, cv::Rect(8 * i, 0, 8, kH), cv::Scalar(60 * (i % 5), 60 * (i / 5), 200));
    Open(frame->Clone(), 30);
    const ImagePtr sample = Sample(*frame, 0.0);
    EXPECT_EQ(CountPixels(*sample, 20, kH - 1, kBlue), kW * (kH - 20));
}

TEST_F(Composition, FlatTemplateBackgroundIsFlattenedWithoutBackgroundPicture)
{
    ImagePtr frame = TemplateFrame();
    frame->pixel(5, 50)[1] = 165;  // within the fill's tolerance, so still background
    Open(frame->Clone(), 30);
    const ImagePtr sample = Sample(*frame, 0.0);
    EXPECT_FALSE(Near(sample->pixel(5, 50), cv::Scalar(0, 165, 0), 0));
    EXPECT_TRUE(Near(sample->pixel(5, 50), kGreen, 3));
    EXPECT_TRUE(Near(sample->pixel(45, 60), kBody, 0));
}
