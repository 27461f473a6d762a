#include "creator/engine/VideoFrame.h"

#include "media/BufferFrame.h"
#include "support/FakeMediaSample.h"
#include "support/GraphRun.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr UINT kGraphNotify = 0xBEE5;
constexpr UINT kTemplateRead = 0xBEE7;

// Counts the samples the reader is given, so that messages can be matched to them.
class CountedReader : public CVideoFrame {
public:
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override
    {
        ++samples;
        return CVideoFrame::SampleCB(sampleTime, sample);
    }
    std::atomic<int> samples = 0;
};

class VideoFrameTemplates : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new testmedia::TempFolder();
        ASSERT_TRUE(
            testmedia::MakeTestVideo(folder_->path("t40.avi"), "mjpeg", 32, 16, 25, 40, false));
        ASSERT_TRUE(
            testmedia::MakeTestVideo(folder_->path("t200.avi"), "mjpeg", 32, 16, 25, 200, true));
        // Three frames of different colours: which one the source holds tells which
        // sample reached it.
        std::vector<testmedia::TestPicture> frames;
        for (std::uint32_t colour : {0x0000FFu, 0x00FF00u, 0xFF0000u})
            frames.push_back(testmedia::SplitPicture(12, 6, 0, colour, colour));
        ASSERT_TRUE(testmedia::WriteDibAvi(folder_->path("colours.avi"), frames, 2,
                                           testmedia::DibLayout::Rgb24BottomUp));
    }
    static void TearDownTestSuite()
    {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string File(const char* name) { return folder_->path(name); }

    void SetUp() override
    {
        ASSERT_TRUE(reader_.CreateGraph(nullptr, &source_));
        reader_.SetNotifyWindow(graphEvents_.window(), kGraphNotify);
        DrainReaderEvents();
    }
    void TearDown() override
    {
        reader_.ReleaseGraph();
        source_.Close();
    }

    // The dialog's part: drain the reader's events when the graph says it has some.
    void DrainReaderEvents()
    {
        SetMessageHandler(graphEvents_.window(), [this](HWND, UINT message, WPARAM, LPARAM) {
            if (message == kGraphNotify)
                reader_.OnGraphEvent();
            return LRESULT{0};
        });
    }

    // The 0xRRGGBB colour of the template source's first stored pixel.
    std::uint32_t PublishedColour()
    {
        FrameRecord record{};
        if (!source_.GetFrame(&record) || !record.image)
            return 0xFFFFFFFF;
        ImagePtr image(record.image);
        const std::uint8_t* p = image->pixel(0, 0);
        return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    }

    static testmedia::TempFolder* folder_;
    testmedia::MessageCounter graphEvents_{kGraphNotify};
    testmedia::MessageCounter done_{kTemplateRead};
    CountedReader reader_;
    CBufferFrame source_;
};

testmedia::TempFolder* VideoFrameTemplates::folder_ = nullptr;

TEST_F(VideoFrameTemplates, ShortTemplateIsCountedWholeAndReportedOnceOnCompletion)
{
    ASSERT_NE(reader_.Open(File("t40.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_EQ(reader_.GetFrameCount(), 40);
    EXPECT_EQ(reader_.samples, 40);
    reader_.Stop();
    ProcessPostedMessages();
    EXPECT_EQ(done_.count, 1);
}

TEST_F(VideoFrameTemplates, LongTemplateStopsCountingAtTheLimitAndReportsEveryLaterSample)
{
    // The graph's completion would add a message of its own; only the samples' count here.
    SetMessageHandler(graphEvents_.window(), {});
    ASSERT_NE(reader_.Open(File("t200.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    reader_.Stop();
    const int samples = reader_.samples;
    ProcessPostedMessages();
    EXPECT_EQ(reader_.GetFrameCount(), 127);
    EXPECT_GE(samples, 128);
    EXPECT_EQ(done_.count, samples - 127);
}

TEST_F(VideoFrameTemplates, LimitAboveTheMostIsStoredAs127)
{
    EXPECT_EQ(reader_.Open(nullptr, 0, 300, done_.window(), kTemplateRead), 0);
    EXPECT_EQ(reader_.GetFrameLimit(), 127);
    EXPECT_EQ(reader_.Open(File("missing.avi").c_str(), 0, 12, done_.window(), kTemplateRead), 0);
    EXPECT_EQ(reader_.GetFrameLimit(), 12);
}

TEST_F(VideoFrameTemplates, ChosenSampleGoesToTheTemplateSourceAndTheReaderIsReused)
{
    ASSERT_NE(reader_.Open(File("colours.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_EQ(PublishedColour(), 0x0000FFu);
    EXPECT_EQ(reader_.GetFrameCount(), 3);
    EXPECT_DOUBLE_EQ(reader_.GetLargestGap(), 0.5);
    reader_.Stop();
    reader_.Close();

    done_.count = 0;
    ASSERT_NE(reader_.Open(File("colours.avi").c_str(), 2, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_EQ(PublishedColour(), 0xFF0000u);
    EXPECT_EQ(reader_.GetFrameCount(), 3);
    reader_.Stop();
    reader_.Close();

    done_.count = 0;
    ASSERT_NE(reader_.Open(File("t40.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_EQ(reader_.GetFrameCount(), 40);
    EXPECT_NEAR(reader_.GetLargestGap(), 0.04, 1e-6);
    FrameRecord record{};
    ASSERT_TRUE(source_.GetFrame(&record));
    ImagePtr image(record.image);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 32);
}

TEST_F(VideoFrameTemplates, SecondOpenWhileReadingFails)
{
    ASSERT_NE(reader_.Open(File("t40.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    EXPECT_EQ(reader_.Open(File("colours.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_EQ(reader_.GetFrameCount(), 40);
}

// The first read is over but its file is still rendered: a refused second Open must not
// reset what the first one counted, nor the settings its streaming thread reads.
TEST_F(VideoFrameTemplates, RefusedOpenKeepsTheCountOfTheReadStillRendered)
{
    ASSERT_NE(reader_.Open(File("t40.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_EQ(reader_.Open(File("colours.avi").c_str(), 2, 5, done_.window(), kTemplateRead), 0);
    EXPECT_EQ(reader_.GetFrameCount(), 40);
    EXPECT_EQ(reader_.GetFrameLimit(), 127);
    EXPECT_NEAR(reader_.GetLargestGap(), 0.04, 1e-6);
    EXPECT_TRUE(reader_.HasCounted());
}

// The owner tells a message of the read it opened last from one an earlier read posted.
TEST_F(VideoFrameTemplates, EveryNewReadStartsUncountedUntilItsOwnMessage)
{
    EXPECT_FALSE(reader_.HasCounted());
    ASSERT_NE(reader_.Open(File("t40.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return done_.count > 0; }));
    EXPECT_TRUE(reader_.HasCounted());
    reader_.Stop();
    reader_.Close();
    EXPECT_TRUE(reader_.HasCounted());
    EXPECT_EQ(reader_.Open(File("missing.avi").c_str(), 0, 127, done_.window(), kTemplateRead), 0);
    EXPECT_FALSE(reader_.HasCounted());
}

TEST(VideoFrameGaps, LargestStepBetweenUnevenSamples)
{
    CVideoFrame reader;
    std::vector<std::uint8_t> pixels(16);
    testmedia::FakeMediaSample sample(pixels, 16);
    EXPECT_EQ(reader.Open(nullptr, 5, 127, nullptr, 0), 0);
    for (double t : {0.0, 0.5, 1.0, 2.0})
        EXPECT_EQ(reader.SampleCB(t, &sample), S_OK);
    EXPECT_DOUBLE_EQ(reader.GetLargestGap(), 1.0);
    EXPECT_EQ(reader.GetFrameCount(), 4);

    // The next template gets its own measure, also when it does not start at 0.
    EXPECT_EQ(reader.Open(nullptr, 5, 127, nullptr, 0), 0);
    for (double t : {0.5, 0.6, 0.7})
        reader.SampleCB(t, &sample);
    EXPECT_NEAR(reader.GetLargestGap(), 0.5, 1e-9);
    EXPECT_EQ(reader.GetFrameCount(), 3);
    EXPECT_EQ(pixels, std::vector<std::uint8_t>(16));
}

}  // namespace
