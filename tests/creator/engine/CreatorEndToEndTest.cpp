#include "creator/engine/AviAudioDelay.h"
#include "creator/engine/VideoCreator.h"
#include "creator/engine/VideoFrame.h"
#include "media/PathUtils.h"
#include "platform/av/MediaFile.h"
#include "platform/av/StreamDecoder.h"
#include "support/AudioStart.h"
#include "support/MessagePump.h"
#include "support/TestMedia.h"
#include "tools/SamplePictures.h"
#include "tools/SampleSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr UINT kTemplateRead = 0xBEE7;
constexpr int kIntroFrames = 25;  // 5 seconds at the sample's 5 frames per second

std::string SamplePath(std::string_view name)
{
    char folder[kPathBufferSize] = {};
    GetModuleDirectory(folder, sizeof folder);
    return std::string(folder) + "/" + std::string(name);
}

// A decoded output frame: bottom-up rows, 3 bytes blue, green, red, padded to 4.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    const std::uint8_t* pixel(int x, int y) const
    {
        return bytes.data() + static_cast<std::size_t>(y) * ((width * 3 + 3) & ~3) + x * 3;
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

std::vector<Frame> DecodeVideo(const std::string& path, const av::StreamInfo& stream)
{
    std::vector<Frame> frames;
    std::unique_ptr<av::StreamDecoder> decoder =
        av::StreamDecoder::Open(path, stream.index, nullptr);
    if (!decoder)
        return frames;
    av::DecodedSample sample;
    while (decoder->Next(sample, nullptr) == av::StreamDecoder::Status::Sample)
        frames.push_back({stream.width, stream.height,
                          std::vector<std::uint8_t>(sample.data, sample.data + sample.size)});
    return frames;
}

// The card is black with a few lines of white text.
bool ShowsCard(const Frame& frame)
{
    int dark = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const std::uint8_t* p = frame.pixel(x, y);
            dark += p[0] < 40 && p[1] < 40 && p[2] < 40 ? 1 : 0;
        }
    return dark > frame.width * frame.height * 3 / 4;
}

// The face picture's lips: red, far from its skin, its hair and every colour of the
// template and the background picture.
bool IsLips(const std::uint8_t* p)
{
    return p[2] > 175 && p[1] < 100 && p[0] < 100;
}

// Whether lips show 12 to 22 pixels from the spot's centre in the given direction
// (degrees counter-clockwise from straight up as shown, in the bottom-up frame).
bool LipsToward(const Frame& frame, const cv::Point2d& centre, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    const double dx = -std::sin(radians);
    const double dy = std::cos(radians);
    for (int d = 12; d <= 22; ++d)
        for (int side = -3; side <= 3; ++side) {
            const int x = static_cast<int>(std::lround(centre.x + d * dx + side * dy));
            const int y = static_cast<int>(std::lround(centre.y + d * dy - side * dx));
            if (frame.inside(x, y) && IsLips(frame.pixel(x, y)))
                return true;
        }
    return false;
}

// The start of the first audio stream as its AVI stream header states it: dwStart in
// units of dwScale / dwRate seconds; -1 when there is no such header.
}  // namespace

TEST(CreatorEndToEnd, SampleInputsGiveAVideoWithCardsAudioAndTheTurnedFaceInTheSpot)
{
    const std::string templatePath = SamplePath(kSampleTemplate);
    const std::string audioPath = SamplePath(kSampleWave);
    ASSERT_TRUE(std::filesystem::exists(templatePath))
        << "the sample inputs are built by MakeSamples";
    testmedia::TempFolder folder;
    const std::string outputPath = folder.path("Created.avi");

    testmedia::MessagePump pump;
    CBufferFrame background, face, templ, video;
    for (CBufferFrame* source : {&background, &face, &templ, &video})
        source->Create("source", 2);
    background.SetFileName(SamplePath(kSampleBackground).c_str());
    ASSERT_TRUE(background.LoadFile());
    face.SetFileName(SamplePath(kSampleFace).c_str());
    ASSERT_TRUE(face.LoadFile());

    // The template is read first, as the dialog does as soon as it is named.
    CVideoFrame reader;
    CVideoCreator creator;
    bool templateRead = false;
    pump.SetHandler([&](const testmedia::MessagePump::Message& m) {
        if (m.message == WM_GRAPH_NOTIFY && m.lParam == reinterpret_cast<LPARAM>(&reader))
            reader.OnGraphEvent();
        else if (m.message == WM_GRAPH_NOTIFY && m.lParam == reinterpret_cast<LPARAM>(&creator))
            creator.OnGraphEvent();
        else if (m.message == kTemplateRead)
            templateRead = true;
    });
    ASSERT_TRUE(reader.CreateGraph(nullptr, &templ));
    reader.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
    ASSERT_NE(reader.Open(templatePath.c_str(), 0, CVideoFrame::kMaxFrameLimit, pump.window(),
                          kTemplateRead),
              0);
    ASSERT_TRUE(pump.RunUntil([&] { return templateRead; }));
    const int frames = reader.GetFrameCount();
    reader.Stop();
    reader.ReleaseGraph();
    ASSERT_EQ(frames, kTemplateFrameCount);

    ASSERT_TRUE(creator.SetSources(&background, &face, &templ, &video));
    ASSERT_EQ(creator.Open(templatePath.c_str(), audioPath.c_str(), outputPath.c_str(),
                           "MPEG Layer-3", "(No Compression)", frames - 1),
              1);
    ASSERT_TRUE(creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY));
    creator.SetFaceSizePercent(120);
    ASSERT_EQ(creator.Run(), 1);
    ASSERT_TRUE(pump.RunUntil([&] { return pump.Count(WM_CREATION_DONE) > 0; }));
    EXPECT_EQ(creator.Close(), 1);
    EXPECT_EQ(pump.Count(WM_FRAME_PROGRESS), frames);
    EXPECT_EQ(SetAviAudioDelay(outputPath.c_str(), 5000), 1);
    creator.ReleaseGraph();
    for (CBufferFrame* source : {&background, &face, &templ, &video})
        source->Close();

    std::vector<av::StreamInfo> streams;
    std::string error;
    ASSERT_TRUE(av::ProbeMediaFile(outputPath, streams, &error)) << error;
    const av::StreamInfo* videoStream = nullptr;
    const av::StreamInfo* audioStream = nullptr;
    for (const av::StreamInfo& stream : streams) {
        if (stream.kind == av::StreamKind::Video)
            videoStream = &stream;
        else if (stream.kind == av::StreamKind::Audio)
            audioStream = &stream;
    }
    ASSERT_NE(videoStream, nullptr);
    ASSERT_NE(audioStream, nullptr);
    EXPECT_EQ(videoStream->width, kTemplateWidth);
    EXPECT_EQ(videoStream->height, kTemplateHeight);
    EXPECT_EQ(videoStream->frameCount, frames);
    EXPECT_NEAR(testmedia::FirstAudioSampleSeconds(outputPath), 5.0, 0.05);

    const std::vector<Frame> decoded = DecodeVideo(outputPath, *videoStream);
    ASSERT_EQ(static_cast<int>(decoded.size()), frames);
    for (int i = 0; i < frames; ++i) {
        const bool card = (i >= 1 && i < kIntroFrames) || i == frames - 1;
        EXPECT_EQ(ShowsCard(decoded[i]), card) << "frame " << i;
        if (card)
            continue;
        // The face's lips lie below its eyes: opposite the direction the spot points in.
        const FaceSpotPose pose = TemplateFacePose(i);
        EXPECT_TRUE(LipsToward(decoded[i], pose.centre, pose.angleDegrees + 180.0))
            << "frame " << i << " at " << pose.angleDegrees << " degrees";
        EXPECT_FALSE(LipsToward(decoded[i], pose.centre, pose.angleDegrees))
            << "frame " << i << " at " << pose.angleDegrees << " degrees";
    }
}
