#include "platform/av/AviWriter.h"
#include "platform/av/AviHeaderPatch.h"
#include "platform/av/StreamFormatPtr.h"

#include "AviProbe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fccType of every "strh" chunk in file order, found by a plain byte search.
std::vector<std::string> StreamTypes(const std::vector<std::uint8_t>& file)
{
    std::vector<std::string> types;
    for (std::size_t i = 0; i + 12 <= file.size(); ++i)
        if (std::memcmp(&file[i], "strh", 4) == 0)
            types.emplace_back(reinterpret_cast<const char*>(&file[i + 8]), 4);
    return types;
}

// A bottom-up bitmap whose every stored row is distinct and whose padding is zero.
std::vector<std::uint8_t> RowCodedBitmap(int width, int height, int stride)
{
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * height, 0);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width * 3; ++x)
            bits[static_cast<std::size_t>(row) * stride + x] =
                static_cast<std::uint8_t>(row * 5 + x);
    return bits;
}

TEST(AviWriter, UncompressedVideoReadsBackUprightAndBitExact)
{
    // 62 pixels make 186 bytes a row, padded to 188: the padding must not shift rows.
    const int width = 62, height = 10, stride = 188;
    const std::string folder = TestFolder("raw");
    const std::string path = folder + "/raw.avi";
    const std::vector<std::uint8_t> bitmap = RowCodedBitmap(width, height, stride);
    std::string error;
    {
        auto writer = av::AviWriter::Create(path, &error);
        ASSERT_TRUE(writer) << error;
        ASSERT_EQ(writer->AddStream(av::RawVideoFormat(width, height, 25), &error), 0);
        for (int n = 0; n < 3; ++n)
            ASSERT_TRUE(writer->Write(0, bitmap.data(), bitmap.size(), n * 400000, (n + 1) * 400000,
                                      true, &error))
                << error;
        ASSERT_TRUE(writer->Finish(&error)) << error;
    }
    const std::string raw = folder + "/frames.bgr";
    const std::string command =
        "ffmpeg -v error -y -i '" + path + "' -f rawvideo -pix_fmt bgr24 '" + raw + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<std::uint8_t> frames = ReadBytes(raw);
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(3 * width * 3 * height));
    // The decoder gives the top row first: that is the bitmap's last stored row.
    for (int top = 0; top < height; ++top) {
        const int stored = height - 1 - top;
        ASSERT_EQ(std::memcmp(&frames[static_cast<std::size_t>(top) * width * 3],
                              &bitmap[static_cast<std::size_t>(stored) * stride], width * 3),
                  0)
            << "row " << top;
    }
}

TEST(AviWriter, MidiStreamHeaderSaysMidsAndTheFileStillOpens)
{
    const std::string path = TestFolder("midi") + "/midi.avi";
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->AddStream(av::RawVideoFormat(16, 16, 10), &error), 0);
    ASSERT_EQ(writer->AddStream(av::MidiFormat(), &error), 1);
    const std::vector<std::uint8_t> frame(16 * 16 * 3, 0x40);
    const std::uint8_t noteOn[] = {0x90, 60, 100};
    const std::uint8_t noteOff[] = {0x80, 60, 0};
    for (int n = 0; n < 10; ++n)
        ASSERT_TRUE(writer->Write(0, frame.data(), frame.size(), n * 1000000, (n + 1) * 1000000,
                                  true, &error));
    // Two messages at one time, one later: the stream's times must stay rising.
    ASSERT_TRUE(writer->Write(1, noteOn, 3, 2000000, 2000000, true, &error)) << error;
    ASSERT_TRUE(writer->Write(1, noteOff, 3, 2000000, 2000000, true, &error)) << error;
    ASSERT_TRUE(writer->Write(1, noteOff, 3, 7000000, 7000000, true, &error)) << error;
    ASSERT_TRUE(writer->Finish(&error)) << error;

    const std::vector<std::uint8_t> file = ReadBytes(path);
    EXPECT_EQ(StreamTypes(file), (std::vector<std::string>{"vids", "mids"}));
    // The audio start patch moves a "mids" stream by its dwRate / dwScale.
    const auto mids = av::FindStreamTypeField(file, 1);
    ASSERT_TRUE(mids);
    EXPECT_NE(file[*mids + 20] | file[*mids + 21], 0);                     // dwScale
    EXPECT_NE(file[*mids + 24] | file[*mids + 25] | file[*mids + 26], 0);  // dwRate
    std::vector<ProbedStream> streams;
    ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].packets, 10);
}

TEST(AviWriter, MidiSilenceOfMoreThanTenMinutesIsBridged)
{
    const std::string path = TestFolder("silence") + "/silence.avi";
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->AddStream(av::MidiFormat(), &error), 0);
    const std::uint8_t note[] = {0x90, 60, 100};
    const av::MediaTime eleven = 11 * 60 * av::kMediaTimePerSecond;
    ASSERT_TRUE(writer->Write(0, note, 3, 0, 0, true, &error)) << error;
    ASSERT_TRUE(writer->Write(0, note, 3, eleven, eleven, true, &error)) << error;
    ASSERT_TRUE(writer->Finish(&error)) << error;
    std::vector<ProbedStream> streams;
    ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 1u);
    // The reader skips the empty chunks but counts them into the times.
    EXPECT_EQ(streams[0].packets, 2);
    EXPECT_NEAR(streams[0].durationSeconds, 11 * 60 + 0.01, 0.001);
}

TEST(AviWriter, FinishWithoutPacketsLeavesAFileThatOpens)
{
    const std::string path = TestFolder("empty") + "/empty.avi";
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->AddStream(av::RawVideoFormat(64, 48, 25), &error), 0);
    ASSERT_EQ(writer->AddStream(av::PcmAudioFormat(22050, 1), &error), 1);
    ASSERT_TRUE(writer->Finish(&error)) << error;
    EXPECT_TRUE(writer->Finish(&error));
    std::vector<ProbedStream> streams;
    ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].type, "video");
    EXPECT_EQ(streams[1].type, "audio");
    EXPECT_EQ(streams[0].packets + streams[1].packets, 0);
}

TEST(AviWriter, DestroyingAnUnfinishedWriterCompletesTheFile)
{
    const std::string path = TestFolder("stopped") + "/stopped.avi";
    std::string error;
    {
        auto writer = av::AviWriter::Create(path, &error);
        ASSERT_TRUE(writer) << error;
        ASSERT_EQ(writer->AddStream(av::RawVideoFormat(64, 48, 25), &error), 0);
        const std::vector<std::uint8_t> frame(64 * 48 * 3, 0x80);
        for (int n = 0; n < 4; ++n)
            ASSERT_TRUE(writer->Write(0, frame.data(), frame.size(), n * 400000, (n + 1) * 400000,
                                      true, &error));
    }
    const std::vector<std::uint8_t> file = ReadBytes(path);
    const std::vector<std::uint8_t> idx1 = {'i', 'd', 'x', '1'};
    EXPECT_NE(std::search(file.begin(), file.end(), idx1.begin(), idx1.end()), file.end());
    std::vector<ProbedStream> streams;
    ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].packets, 4);
}

TEST(AviWriter, StreamThatStartsLateKeepsItsStartTime)
{
    const std::string path = TestFolder("late") + "/late.avi";
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->AddStream(av::RawVideoFormat(16, 16, 10), &error), 0);
    const std::vector<std::uint8_t> frame(16 * 16 * 3, 0x10);
    // Frames 5 to 9 only: a reader must still show the first one half a second in.
    for (int n = 5; n < 10; ++n)
        ASSERT_TRUE(writer->Write(0, frame.data(), frame.size(), n * 1000000, (n + 1) * 1000000,
                                  true, &error));
    ASSERT_TRUE(writer->Finish(&error)) << error;
    std::vector<ProbedStream> streams;
    ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_NEAR(streams[0].durationSeconds, 1.0, 0.001);
}

TEST(AviWriter, StreamsWrittenFromTwoThreadsAllArrive)
{
    const std::string path = TestFolder("threads") + "/threads.avi";
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->AddStream(av::RawVideoFormat(16, 16, 25), &error), 0);
    ASSERT_EQ(writer->AddStream(av::PcmAudioFormat(8000, 1), &error), 1);
    const int count = 200;
    std::thread video([&] {
        const std::vector<std::uint8_t> frame(16 * 16 * 3, 0x20);
        for (int n = 0; n < count; ++n)
            EXPECT_TRUE(writer->Write(0, frame.data(), frame.size(), n * 400000LL,
                                      (n + 1) * 400000LL, true, nullptr));
    });
    std::thread audio([&] {
        const std::vector<std::uint8_t> sound(640, 0);  // 40 ms of 8 kHz mono
        for (int n = 0; n < count; ++n)
            EXPECT_TRUE(writer->Write(1, sound.data(), sound.size(), n * 400000LL,
                                      (n + 1) * 400000LL, true, nullptr));
    });
    video.join();
    audio.join();
    ASSERT_TRUE(writer->Finish(&error)) << error;
    std::vector<ProbedStream> streams;
    ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].packets, count);
    EXPECT_NEAR(streams[1].durationSeconds, count * 0.04, 0.001);
}

// The audio arrives two minutes ahead of the video, as when nothing paces the sources:
// the file must still hold every packet of both.
void WriteAudioFarAheadOfVideo(av::AviWriter& writer, bool audioFirst)
{
    const int seconds = 120, frames = 50;  // 2 s of video at 25 frames a second
    const std::vector<std::uint8_t> sound(44100 * 2 * 2 / 10, 0x11);  // 100 ms of stereo
    const std::vector<std::uint8_t> frame(16 * 16 * 3, 0x30);
    std::string error;
    auto audio = [&](int n) {
        ASSERT_TRUE(writer.Write(1, sound.data(), sound.size(), n * 1000000LL, (n + 1) * 1000000LL,
                                 true, &error))
            << error;
    };
    auto video = [&](int n) {
        ASSERT_TRUE(writer.Write(0, frame.data(), frame.size(), n * 400000LL, (n + 1) * 400000LL,
                                 true, &error))
            << error;
    };
    if (audioFirst) {
        for (int n = 0; n < seconds * 10; ++n)
            audio(n);
        for (int n = 0; n < frames; ++n)
            video(n);
        return;
    }
    for (int n = 0; n < seconds * 10; ++n) {
        audio(n);
        if (n % 24 == 0 && n / 24 < frames)
            video(n / 24);
    }
}

TEST(AviWriter, AudioWrittenFarAheadOfTheVideoIsAllStored)
{
    for (const bool audioFirst : {true, false}) {
        SCOPED_TRACE(audioFirst ? "all audio first" : "audio far ahead");
        const std::string path = TestFolder("ahead") + "/ahead.avi";
        std::string error;
        auto writer = av::AviWriter::Create(path, &error);
        ASSERT_TRUE(writer) << error;
        ASSERT_EQ(writer->AddStream(av::RawVideoFormat(16, 16, 25), &error), 0);
        ASSERT_EQ(writer->AddStream(av::PcmAudioFormat(44100, 2), &error), 1);
        WriteAudioFarAheadOfVideo(*writer, audioFirst);
        ASSERT_TRUE(writer->Finish(&error)) << error;
        std::vector<ProbedStream> streams;
        ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
        ASSERT_EQ(streams.size(), 2u);
        EXPECT_EQ(streams[0].packets, 50);
        EXPECT_NEAR(streams[0].durationSeconds, 2.0, 0.001);
        EXPECT_GT(streams[1].packets, 0);
        EXPECT_NEAR(streams[1].durationSeconds, 120.0, 0.001);
    }
}

TEST(AviWriter, PathThatCannotBeWrittenFailsWithAMessage)
{
    std::string error;
    EXPECT_FALSE(av::AviWriter::Create(TestFolder("nowhere") + "/missing/out.avi", &error));
    EXPECT_NE(error.find("missing/out.avi"), std::string::npos);
}

TEST(AviWriter, MisuseIsRefusedWithoutDamage)
{
    const std::string path = TestFolder("misuse") + "/misuse.avi";
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    EXPECT_EQ(writer->AddStream(nullptr, &error), -1);
    ASSERT_EQ(writer->AddStream(av::RawVideoFormat(16, 16, 10), &error), 0);
    const std::vector<std::uint8_t> frame(16 * 16 * 3, 0);
    EXPECT_FALSE(writer->Write(1, frame.data(), frame.size(), 0, 1, true, &error));
    ASSERT_TRUE(writer->Write(0, frame.data(), frame.size(), 0, 1000000, true, &error)) << error;
    EXPECT_EQ(writer->AddStream(av::PcmAudioFormat(8000, 1), &error), -1);
    ASSERT_TRUE(writer->Finish(&error)) << error;
    EXPECT_FALSE(writer->Write(0, frame.data(), frame.size(), 1000000, 2000000, true, &error));
}

TEST(AviHeaderPatch, StreamHeaderIsFoundOnlyWhereTheBytesHoldIt)
{
    const std::string path = TestFolder("patch") + "/two.avi";
    std::string error;
    {
        auto writer = av::AviWriter::Create(path, &error);
        ASSERT_TRUE(writer) << error;
        ASSERT_EQ(writer->AddStream(av::RawVideoFormat(16, 16, 10), &error), 0);
        ASSERT_EQ(writer->AddStream(av::PcmAudioFormat(8000, 1), &error), 1);
    }
    const std::vector<std::uint8_t> file = ReadBytes(path);
    const auto audio = av::FindStreamTypeField(file, 1);
    ASSERT_TRUE(audio);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[*audio]), 4), "auds");
    EXPECT_FALSE(av::FindStreamTypeField(file, 2));
    EXPECT_FALSE(av::FindStreamTypeField(file, -1));
    // Every cut of the file short of that field finds nothing and reads nothing beyond.
    for (std::size_t cut = 0; cut < *audio + 4; cut += 7)
        EXPECT_FALSE(av::FindStreamTypeField(std::span(file.data(), cut), 1)) << cut;
}

// An AVI start by hand: "RIFF" "AVI ", then a "hdrl" LIST of the given content.
std::vector<std::uint8_t> AviWithHeaderList(const std::string& content, std::uint32_t listSize)
{
    const auto le32 = [](std::uint32_t v) {
        return std::string{char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF),
                           char(v >> 24)};
    };
    const std::string list = "LIST" + le32(listSize) + "hdrl" + content;
    const std::string riff =
        "RIFF" + le32(static_cast<std::uint32_t>(4 + list.size())) + "AVI " + list;
    return std::vector<std::uint8_t>(riff.begin(), riff.end());
}

TEST(AviHeaderPatch, TypeFieldMustLieInsideItsStreamListAndTheHeaderList)
{
    const std::string le56("\x38\0\0\0", 4);
    const std::string le8("\x08\0\0\0", 4);
    const std::string le12("\x0C\0\0\0", 4);
    const std::string header = "strh" + le56 + "auds" + std::string(52, '\0');
    // A whole stream header: found.
    const std::string whole = "LIST" + std::string("\x44\0\0\0", 4) + "strl" + header;
    const auto good = AviWithHeaderList(whole, static_cast<std::uint32_t>(4 + whole.size()));
    const auto found = av::FindStreamTypeField(good, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, 12u + 12u + 12u + 8u);
    // The stream list ends right after the "strh" chunk's header; what follows (a chunk
    // whose identifier reads "auds") belongs to the header list, not to the stream.
    const std::string cutList =
        "LIST" + le12 + "strl" + "strh" + le56 + "auds" + le8 + std::string(8, '\0');
    const auto pastList =
        AviWithHeaderList(cutList, static_cast<std::uint32_t>(4 + cutList.size()));
    EXPECT_FALSE(av::FindStreamTypeField(pastList, 0));
    // The stream list claims more than the header list holds; the header list ends
    // right after the "strh" chunk's header.
    const std::string longList = "LIST" + std::string("\x44\0\0\0", 4) + "strl" + header;
    const auto pastHeaderList = AviWithHeaderList(longList, 4 + 12 + 8);
    EXPECT_FALSE(av::FindStreamTypeField(pastHeaderList, 0));
}

}  // namespace
