#include "platform/av/MediaFile.h"

#include "platform/av/AviWriter.h"

#include "tests/support/Fifo.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

using av::StreamKind;
using testmedia::TempFolder;

std::vector<av::StreamInfo> Probe(const std::string& path)
{
    std::vector<av::StreamInfo> streams;
    std::string error;
    EXPECT_TRUE(av::ProbeMediaFile(path, streams, &error)) << error;
    return streams;
}

TEST(ProbeMediaFile, PcmAudioInAnAviKeepsItsOwnLengthBesideShorterVideo)
{
    TempFolder folder;
    const std::string path = folder.path("long-sound.avi");
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    const int video = writer->AddStream(av::RawVideoFormat(32, 24, 10.0), &error);
    const int audio = writer->AddStream(av::PcmAudioFormat(8000, 1), &error);
    const std::vector<std::uint8_t> frame(32 * 3 * 24, 50);
    const std::vector<std::uint8_t> sound(800 * 2, 0);
    const av::MediaTime tenth = av::kMediaTimePerSecond / 10;
    for (int i = 0; i < 100; ++i) {
        if (i < 20)
            writer->Write(video, frame.data(), frame.size(), i * tenth, (i + 1) * tenth, true,
                          &error);
        writer->Write(audio, sound.data(), sound.size(), i * tenth, (i + 1) * tenth, true, &error);
    }
    ASSERT_TRUE(writer->Finish(&error)) << error;

    for (const av::StreamInfo& stream : Probe(path)) {
        if (stream.kind == StreamKind::Audio)
            EXPECT_NEAR(stream.durationSeconds, 10.0, 0.01);
        else
            EXPECT_NEAR(stream.durationSeconds, 2.0, 0.01);
    }
}

TEST(ProbeMediaFile, ListsVideoAndSoundWithFrameCounts)
{
    TempFolder folder;
    const std::string path = folder.path("both.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(path, "mjpeg", 40, 30, 10, 12, true));
    const auto streams = Probe(path);
    ASSERT_EQ(streams.size(), 2u);

    const av::StreamInfo& video = streams[0];
    EXPECT_EQ(video.index, 0);
    EXPECT_EQ(video.kind, StreamKind::Video);
    EXPECT_EQ(video.codec, "mjpeg");
    EXPECT_EQ(video.fourcc, "MJPG");
    EXPECT_TRUE(video.decodable);
    EXPECT_EQ(video.width, 40);
    EXPECT_EQ(video.height, 30);
    EXPECT_DOUBLE_EQ(video.framesPerSecond, 10.0);
    EXPECT_EQ(video.frameCount, 12);
    EXPECT_NEAR(video.durationSeconds, 1.2, 0.01);
    EXPECT_DOUBLE_EQ(video.startSeconds, 0.0);

    const av::StreamInfo& audio = streams[1];
    EXPECT_EQ(audio.index, 1);
    EXPECT_EQ(audio.kind, StreamKind::Audio);
    EXPECT_EQ(audio.codec, "pcm_s16le");
    EXPECT_EQ(audio.fourcc, "");  // a WAV format tag is a number, not four letters
    EXPECT_TRUE(audio.decodable);
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_GT(audio.frameCount, 0);
    EXPECT_NEAR(audio.durationSeconds, 1.2, 0.05);
}

TEST(ProbeMediaFile, CountsEveryFrameOfAHandWrittenRleFile)
{
    TempFolder folder;
    const std::string path = folder.path("rle.avi");
    const auto picture = testmedia::SplitPicture(20, 10, 3, 0xFFFFFF, 0x000000);
    ASSERT_TRUE(
        testmedia::WriteDibAvi(path, std::vector(7, picture), 15, testmedia::DibLayout::Rle8));
    const auto streams = Probe(path);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].codec, "msrle");
    EXPECT_EQ(streams[0].frameCount, 7);
    EXPECT_DOUBLE_EQ(streams[0].framesPerSecond, 15.0);
}

TEST(ProbeMediaFile, Mp3IsOneAudioStreamOfItsLength)
{
    TempFolder folder;
    const std::string path = folder.path("tone.mp3");
    ASSERT_TRUE(testmedia::MakeTestAudio(path, "libmp3lame", 2.0, 44100, 1));
    const auto streams = Probe(path);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].kind, StreamKind::Audio);
    EXPECT_EQ(streams[0].codec, "mp3");
    EXPECT_EQ(streams[0].channels, 1);
    EXPECT_NEAR(streams[0].durationSeconds, 2.0, 0.1);
    EXPECT_NEAR(streams[0].frameCount, 2.0 * 44100 / 1152, 3);
}

TEST(ProbeMediaFile, TruncatedFileCountsTheFramesThatAreLeft)
{
    TempFolder folder;
    const std::string whole = folder.path("whole.avi");
    const auto picture = testmedia::SplitPicture(32, 32, 16, 0xFFFFFF, 0x000000);
    ASSERT_TRUE(testmedia::WriteDibAvi(whole, std::vector(10, picture), 10,
                                       testmedia::DibLayout::Rgb24BottomUp));
    // Half the file: the headers and about half of the frames, no index.
    const std::string cut = folder.path("cut.avi");
    ASSERT_TRUE(testmedia::CopyTruncated(whole, cut, std::filesystem::file_size(whole) / 2));
    const auto streams = Probe(cut);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_GE(streams[0].frameCount, 1);
    EXPECT_LT(streams[0].frameCount, 10);
}

TEST(ProbeMediaFile, DurationThatDoesNotFitIsZero)
{
    // MPL2 subtitles in tenths of a second: 10^20 of them are past what 64 bits hold, so
    // the demuxer's stamps run into the largest value and their ends past it.
    TempFolder folder;
    const std::string path = folder.path("late.txt");
    ASSERT_TRUE(testmedia::WriteTextFile(path, "[100000000000000000000][100000000000000000001]a\n"
                                               "[100000000000000000002][100000000000000000003]b\n"
                                               "[1][2]c\n"));
    const auto streams = Probe(path);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].durationSeconds, 0.0);
    EXPECT_GE(streams[0].startSeconds, 0.0);
    EXPECT_EQ(streams[0].frameCount, 3);
}

TEST(ProbeMediaFile, FailsWithAMessageOnMissingOrNonMediaFiles)
{
    TempFolder folder;
    const std::string text = folder.path("readme.wav");
    ASSERT_TRUE(testmedia::WriteTextFile(text, "hello\n"));
    for (const std::string& path : {folder.path("nothing-here.avi"), text}) {
        std::vector<av::StreamInfo> streams(1);
        std::string error;
        EXPECT_FALSE(av::ProbeMediaFile(path, streams, &error)) << path;
        EXPECT_NE(error.find("probe"), std::string::npos) << error;
        EXPECT_EQ(streams.size(), 1u);  // left as it was
    }
}

TEST(ProbeMediaFile, FifosAndDevicesAreRefusedWithoutWaitingOnThem)
{
    TempFolder folder;
    const std::string fifo = folder.path("Dancer.avi");
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(fifo, [&] {
        for (const std::string& path : {fifo, std::string("/dev/zero")}) {
            std::vector<av::StreamInfo> streams;
            std::string error;
            EXPECT_FALSE(av::ProbeMediaFile(path, streams, &error)) << path;
            EXPECT_NE(error.find("no file that can be read"), std::string::npos) << error;
        }
    }));
}

}  // namespace
