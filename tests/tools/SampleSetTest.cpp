#include "tools/SampleSet.h"

#include "tools/SampleAudio.h"
#include "tools/SamplePictures.h"

#include "platform/av/MidiFile.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The test folder's path, to build file paths from.
std::filesystem::path Root(const testmedia::TempFolder& folder)
{
    return folder.root();
}

std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | std::uint32_t(b.at(at + 3)) << 24;
}

std::string Tag(const Bytes& b, std::size_t at)
{
    return std::string(b.begin() + at, b.begin() + at + 4);
}

// What the AVI file's own headers and chunks say about its video.
struct AviSummary {
    std::uint32_t microsecondsPerFrame = 0;
    std::uint32_t totalFrames = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: rows stored bottom-up
    int bitCount = 0;
    std::uint32_t compression = ~0u;
    std::string streamType;
    std::vector<Bytes> frames;  // payloads of stream 0's chunks in the movie list
};

// Walks the RIFF tree of [begin, end), descending into LIST chunks.
void WalkChunks(const Bytes& b, std::size_t begin, std::size_t end, AviSummary& avi)
{
    std::size_t at = begin;
    while (at + 8 <= end) {
        const std::string id = Tag(b, at);
        const std::size_t size = U32(b, at + 4);
        const std::size_t body = at + 8;
        ASSERT_LE(body + size, end) << "chunk " << id << " runs past its parent";
        if (id == "LIST" || id == "RIFF") {
            WalkChunks(b, body + 4, body + size, avi);
        } else if (id == "avih") {
            avi.microsecondsPerFrame = U32(b, body);
            avi.totalFrames = U32(b, body + 16);
        } else if (id == "strh" && avi.streamType.empty()) {
            avi.streamType = Tag(b, body);
        } else if (id == "strf" && avi.bitCount == 0) {
            avi.width = static_cast<std::int32_t>(U32(b, body + 4));
            avi.height = static_cast<std::int32_t>(U32(b, body + 8));
            avi.bitCount = b.at(body + 14) | b.at(body + 15) << 8;
            avi.compression = U32(b, body + 16);
        } else if (id == "00db" || id == "00dc") {
            avi.frames.emplace_back(b.begin() + body, b.begin() + body + size);
        }
        at = body + size + (size & 1);
    }
}

// What a standard reader, the ffprobe program, counts in the file's first video stream:
// "width,height,frames", or "" when it cannot run.
std::string ProbeWithFfprobe(const std::filesystem::path& path)
{
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 "
                                "-show_entries stream=width,height,nb_read_frames -of csv=p=0 '" +
                                path.string() + "' 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        if (pclose(pipe) != 0)
            output.clear();
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

}  // namespace

TEST(SampleSet, TwoRunsWriteTheSameBytes)
{
    testmedia::TempFolder first;
    testmedia::TempFolder second;
    ASSERT_FALSE(Root(first).empty());
    ASSERT_FALSE(Root(second).empty());
    std::string error;
    ASSERT_TRUE(WriteSampleSet(Root(first).string(), &error)) << error;
    ASSERT_TRUE(WriteSampleSet(Root(second).string(), &error)) << error;
    for (std::string_view file : kSampleFiles) {
        const Bytes a = ReadAll(Root(first) / file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == ReadAll(Root(second) / file)) << file;
    }
}

TEST(SampleSet, PicturesReadBackInTheirIntendedLayout)
{
    testmedia::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteSampleSet(Root(folder).string(), &error)) << error;
    // The face is kept lossless, so its backdrop stays one exact colour for the cut-out.
    const cv::Mat face = cv::imread((Root(folder) / kSampleFace).string(), cv::IMREAD_UNCHANGED);
    ASSERT_EQ(face.type(), CV_8UC3);
    EXPECT_EQ(cv::norm(face, FacePicture(), cv::NORM_INF), 0.0);
    const cv::Mat scene =
        cv::imread((Root(folder) / kSampleBackground).string(), cv::IMREAD_UNCHANGED);
    ASSERT_EQ(scene.type(), CV_8UC3);
    EXPECT_EQ(scene.size(), BackgroundPicture().size());
    // Another size than the template's, so that the creator's stretching is exercised.
    EXPECT_NE(scene.size(), cv::Size(kTemplateWidth, kTemplateHeight));
}

TEST(SampleSet, MidiReadsBackAsTwoTracksOfTheTunesLength)
{
    testmedia::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteSampleSet(Root(folder).string(), &error)) << error;
    av::MidiSequence sequence;
    ASSERT_TRUE(av::ReadMidiFile((Root(folder) / kSampleMidi).string(), sequence, &error)) << error;
    EXPECT_EQ(sequence.format, 1);
    EXPECT_EQ(sequence.trackCount, 2);
    EXPECT_NEAR(double(sequence.duration) / av::kMediaTimePerSecond, MelodySeconds(), 1e-3);
    ASSERT_FALSE(sequence.messages.empty());
    // The tempo applies: the last note is released within the tune's last two beats.
    const double lastRelease = double(sequence.messages.back().time) / av::kMediaTimePerSecond;
    EXPECT_GT(lastRelease, MelodySeconds() - 2 * 60.0 / 160);
    EXPECT_LT(lastRelease, MelodySeconds());
}

TEST(SampleSet, RewritingReplacesEarlierFiles)
{
    testmedia::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteSampleSet(Root(folder).string(), &error)) << error;
    const std::filesystem::path wave = Root(folder) / kSampleWave;
    const Bytes expected = ReadAll(wave);
    std::ofstream(wave, std::ios::binary | std::ios::app) << "trailing junk";
    ASSERT_TRUE(WriteSampleSet(Root(folder).string(), &error)) << error;
    EXPECT_TRUE(ReadAll(wave) == expected);
}

TEST(SampleSet, UnwritableFolderIsReportedNotCrashed)
{
    testmedia::TempFolder folder;
    // A plain file where the folder should be cannot hold the samples.
    const std::filesystem::path blocker = Root(folder) / "blocked";
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_FALSE(WriteSampleSet(blocker.string(), &error));
    EXPECT_NE(error.find("samples:"), std::string::npos) << error;
}

TEST(SampleSet, TemplateHoldsEveryFrameUncompressedAndBottomUp)
{
    testmedia::TempFolder folder;
    std::string error;
    const std::filesystem::path path = Root(folder) / "Template.avi";
    ASSERT_TRUE(WriteTemplateVideo(path.string(), &error)) << error;
    const Bytes file = ReadAll(path);
    ASSERT_GE(file.size(), 12u);
    ASSERT_EQ(Tag(file, 0), "RIFF");
    ASSERT_EQ(Tag(file, 8), "AVI ");

    AviSummary avi;
    WalkChunks(file, 0, file.size(), avi);
    EXPECT_EQ(avi.streamType, "vids");
    EXPECT_EQ(avi.totalFrames, std::uint32_t(kTemplateFrameCount));
    EXPECT_EQ(avi.microsecondsPerFrame, std::uint32_t(1e6 / kTemplateFramesPerSecond));
    EXPECT_EQ(avi.width, kTemplateWidth);
    EXPECT_EQ(avi.height, kTemplateHeight);
    EXPECT_EQ(avi.bitCount, 24);
    EXPECT_EQ(avi.compression, 0u);
    ASSERT_EQ(avi.frames.size(), std::size_t(kTemplateFrameCount));
    // Stored as drawn: the flat areas the face-spot search relies on reach it unchanged.
    for (int i : {0, kTemplateFrameCount / 2, kTemplateFrameCount - 1}) {
        ImagePtr frame = TemplateFrame(i);
        ASSERT_EQ(avi.frames[i].size(), frame->imageSize());
        EXPECT_TRUE(std::equal(avi.frames[i].begin(), avi.frames[i].end(), frame->data()))
            << "frame " << i;
    }
}

TEST(SampleSet, TemplateReadsBackInAStandardReader)
{
    if (std::system("ffprobe -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffprobe is not installed";
    testmedia::TempFolder folder;
    std::string error;
    const std::filesystem::path path = Root(folder) / "Template.avi";
    ASSERT_TRUE(WriteTemplateVideo(path.string(), &error)) << error;
    EXPECT_EQ(ProbeWithFfprobe(path), std::to_string(kTemplateWidth) + "," +
                                          std::to_string(kTemplateHeight) + "," +
                                          std::to_string(kTemplateFrameCount));
}
