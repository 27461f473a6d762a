#include "platform/av/MidiFile.h"

#include "AllocationMeter.h"
#include "AviProbe.h"
#include "support/Fifo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& to, std::initializer_list<int> bytes)
{
    for (int b : bytes)
        to.push_back(static_cast<std::uint8_t>(b));
}

Bytes Chunk(const char* id, const Bytes& body)
{
    Bytes chunk(id, id + 4);
    const auto n = static_cast<std::uint32_t>(body.size());
    Append(chunk, {int(n >> 24), int(n >> 16 & 0xFF), int(n >> 8 & 0xFF), int(n & 0xFF)});
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

Bytes Header(int format, int tracks, int division)
{
    return Chunk("MThd",
                 {0, static_cast<std::uint8_t>(format), 0, static_cast<std::uint8_t>(tracks),
                  static_cast<std::uint8_t>(division >> 8),
                  static_cast<std::uint8_t>(division & 0xFF)});
}

std::string Save(const std::string& name, std::initializer_list<Bytes> parts)
{
    const std::string path = TestFolder("midi-" + name) + "/song.mid";
    std::ofstream out(path, std::ios::binary);
    for (const Bytes& part : parts)
        out.write(reinterpret_cast<const char*>(part.data()),
                  static_cast<std::streamsize>(part.size()));
    return path;
}

Bytes MessageBytes(const av::MidiSequence& song, std::size_t index)
{
    const std::span<const std::uint8_t> bytes = song.BytesOf(song.messages.at(index));
    return Bytes(bytes.begin(), bytes.end());
}

constexpr av::MediaTime kMs = av::kMediaTimePerSecond / 1000;

TEST(MidiFile, FormatZeroResolvesRunningStatusAndAppliesTempoChanges)
{
    Bytes track;
    // 96 ticks a quarter at the default 120 bpm: one tick is 500/96 ms.
    Append(track, {0x00, 0x90, 60, 100});  // note on at 0
    Append(track, {0x60, 62, 100});        // running status, one quarter later: 500 ms
    Append(track, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // 1,000,000 us a quarter
    Append(track, {0x81, 0x40, 0x80, 60, 0});             // 192 ticks (two-byte quantity): +2 s
    Append(track, {0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7});  // system exclusive
    Append(track, {0x60, 0xFF, 0x2F, 0x00});              // end of track one quarter later
    av::MidiSequence song;
    std::string error;
    ASSERT_TRUE(
        av::ReadMidiFile(Save("f0", {Header(0, 1, 96), Chunk("MTrk", track)}), song, &error))
        << error;
    EXPECT_EQ(song.format, 0);
    EXPECT_EQ(song.trackCount, 1);
    ASSERT_EQ(song.messages.size(), 4u);
    EXPECT_EQ(song.messages[0].time, 0);
    EXPECT_EQ(MessageBytes(song, 1), (Bytes{0x90, 62, 100}));
    EXPECT_EQ(song.messages[1].time, 500 * kMs);
    EXPECT_EQ(MessageBytes(song, 2), (Bytes{0x80, 60, 0}));
    EXPECT_EQ(song.messages[2].time, 2500 * kMs);
    EXPECT_EQ(MessageBytes(song, 3), (Bytes{0xF0, 0x7E, 0x09, 0xF7}));
    EXPECT_EQ(song.duration, 3500 * kMs);
}

TEST(MidiFile, FormatOneMergesTracksUnderTheFirstTracksTempo)
{
    Bytes tempo;
    Append(tempo, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500,000 us
    Append(tempo, {0x78, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // from tick 120: 1 s a quarter
    Append(tempo, {0x00, 0xFF, 0x2F, 0x00});
    Bytes notes;
    Append(notes, {0x78, 0x91, 64, 90});  // tick 120: 500 ms
    Append(notes, {0x78, 0x81, 64, 0});   // tick 240: 1.5 s
    Append(notes, {0x00, 0xFF, 0x2F, 0x00});
    Bytes drums;
    Append(drums, {0x3C, 0x99, 36, 127});  // tick 60: 250 ms
    Append(drums, {0x00, 0xFF, 0x2F, 0x00});
    av::MidiSequence song;
    std::string error;
    ASSERT_TRUE(
        av::ReadMidiFile(Save("f1", {Header(1, 3, 120), Chunk("MTrk", tempo), Chunk("XTRA", {1, 2}),
                                     Chunk("MTrk", notes), Chunk("MTrk", drums)}),
                         song, &error))
        << error;
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.trackCount, 3);
    ASSERT_EQ(song.messages.size(), 3u);
    EXPECT_EQ(MessageBytes(song, 0), (Bytes{0x99, 36, 127}));
    EXPECT_EQ(song.messages[0].time, 250 * kMs);
    EXPECT_EQ(song.messages[1].time, 500 * kMs);
    EXPECT_EQ(song.messages[2].time, 1500 * kMs);
    EXPECT_EQ(song.duration, 1500 * kMs);
}

TEST(MidiFile, SmpteDivisionCountsTicksPerSecond)
{
    Bytes track;
    Append(track, {0x00, 0xC0, 5});  // program change: one data byte
    // 25 frames of 40 ticks: 1000 ticks a second, tempo changes do not apply.
    Append(track, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});
    Append(track, {0x87, 0x68, 0xC0, 6});  // 1000 ticks later
    av::MidiSequence song;
    std::string error;
    ASSERT_TRUE(
        av::ReadMidiFile(Save("smpte", {Header(0, 1, 0xE728), Chunk("MTrk", track)}), song, &error))
        << error;
    ASSERT_EQ(song.messages.size(), 2u);
    EXPECT_EQ(song.messages[1].time, av::kMediaTimePerSecond);
    EXPECT_EQ(song.duration, av::kMediaTimePerSecond);
}

// The largest delta-time a file can hold (0x0FFFFFFF ticks), `count` times, each with a
// running-status note on.
Bytes LongestDeltas(int count)
{
    Bytes track;
    Append(track, {0x00, 0x90, 60, 100});
    for (int i = 0; i < count; ++i)
        Append(track, {0xFF, 0xFF, 0xFF, 0x7F, 60, 100});
    return track;
}

TEST(MidiFile, TimesBeyondTheLargestMediaTimeAreRefused)
{
    // One tick a quarter at FF FF FF microseconds a quarter: 2^28 ticks are about 4.5e16
    // units, so 205 of them are past 2^63; at 24 one-tick frames a second, 82,500.
    Bytes slowest;
    Append(slowest, {0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF});
    const Bytes tooLate = LongestDeltas(210);
    slowest.insert(slowest.end(), tooLate.begin(), tooLate.end());
    const Bytes smpte = LongestDeltas(90'000);
    struct Case {
        const char* name;
        int division;
        const Bytes& track;
    };
    for (const Case& c : {Case{"metrical", 1, slowest}, Case{"smpte", 0xE801, smpte}}) {
        av::MidiSequence song;
        std::string error;
        EXPECT_FALSE(av::ReadMidiFile(
            Save(std::string("late-") + c.name, {Header(0, 1, c.division), Chunk("MTrk", c.track)}),
            song, &error))
            << c.name;
        EXPECT_NE(error.find("midi file: "), std::string::npos) << c.name;
        EXPECT_NE(error.find("time"), std::string::npos) << error;
    }

    // Just below the limit everything is kept, in order.
    Bytes fits;
    Append(fits, {0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF});
    const Bytes lastInRange = LongestDeltas(200);
    fits.insert(fits.end(), lastInRange.begin(), lastInRange.end());
    av::MidiSequence song;
    std::string error;
    ASSERT_TRUE(
        av::ReadMidiFile(Save("late-fits", {Header(0, 1, 1), Chunk("MTrk", fits)}), song, &error))
        << error;
    ASSERT_EQ(song.messages.size(), 201u);
    EXPECT_TRUE(std::is_sorted(song.messages.begin(), song.messages.end(),
                               [](const auto& a, const auto& b) { return a.time < b.time; }));
    EXPECT_GT(song.messages.back().time, av::MediaTime{1} << 62);
    EXPECT_EQ(song.duration, song.messages.back().time);
}

TEST(MidiFile, MemoryStaysWithinASmallMultipleOfTheFileSize)
{
    // Two bytes an event, the smallest a message can take in a file: a zero delta-time
    // and one data byte under running status.
    constexpr std::size_t kEvents = 2'000'000;
    Bytes track;
    track.reserve(3 + 2 * kEvents);
    Append(track, {0x00, 0xC0, 5});
    for (std::size_t i = 0; i < kEvents; ++i)
        Append(track, {0x00, static_cast<int>(i % 128)});
    const std::string path = Save("dense", {Header(0, 1, 96), Chunk("MTrk", track)});
    const auto fileSize = static_cast<std::size_t>(std::filesystem::file_size(path));
    av::MidiSequence song;
    std::string error;
    AllocationMeter meter;
    ASSERT_TRUE(av::ReadMidiFile(path, song, &error)) << error;
    EXPECT_LT(meter.peakBytes(), 16 * fileSize);
    ASSERT_EQ(song.messages.size(), kEvents + 1);
    EXPECT_EQ(MessageBytes(song, song.messages.size() - 1), (Bytes{0xC0, 127}));
}

TEST(MidiFile, BrokenFilesAreRefusedWithAMessage)
{
    Bytes good;
    Append(good, {0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
    const Bytes whole = Chunk("MTrk", good);
    struct Case {
        const char* name;
        std::initializer_list<Bytes> parts;
    };
    const Bytes runningWithoutStatus = Chunk("MTrk", {0x00, 60, 100});
    const Bytes longQuantity = Chunk("MTrk", {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1});
    const Bytes cutMeta = Chunk("MTrk", {0x00, 0xFF, 0x51, 0x03, 0x07});
    const Bytes cutSysex = Chunk("MTrk", {0x00, 0xF0, 0x7F, 0x01});
    const Bytes badStatus = Chunk("MTrk", {0x00, 0xF2, 0x00, 0x00});
    Bytes cutChunk = whole;
    cutChunk.resize(cutChunk.size() - 5);
    Bytes cutHeader = Header(0, 1, 96);
    cutHeader.resize(10);
    const Case cases[] = {
        {"truncated-track", {Header(0, 1, 96), cutChunk}},
        {"missing-track", {Header(1, 2, 96), whole}},
        {"truncated-header", {cutHeader}},
        {"format-2", {Header(2, 1, 96), whole}},
        {"format-0-two-tracks", {Header(0, 2, 96), whole, whole}},
        {"zero-division", {Header(0, 1, 0), whole}},
        {"not-midi", {Chunk("RIFF", {1, 2, 3, 4, 5, 6})}},
        {"running-status-without-status", {Header(0, 1, 96), runningWithoutStatus}},
        {"five-byte-quantity", {Header(0, 1, 96), longQuantity}},
        {"truncated-meta", {Header(0, 1, 96), cutMeta}},
        {"truncated-sysex", {Header(0, 1, 96), cutSysex}},
        {"system-common-status", {Header(0, 1, 96), badStatus}},
    };
    for (const Case& c : cases) {
        av::MidiSequence song;
        std::string error;
        EXPECT_FALSE(av::ReadMidiFile(Save(c.name, c.parts), song, &error)) << c.name;
        EXPECT_NE(error.find("midi file: "), std::string::npos) << c.name;
    }
    av::MidiSequence song;
    std::string error;
    EXPECT_FALSE(av::ReadMidiFile(TestFolder("midi-none") + "/absent.mid", song, &error));
    // A FIFO is no file: it is refused at once, not waited on for a writer.
    const std::string fifo = TestFolder("midi-fifo") + "/song.mid";
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(
        fifo, [&] { EXPECT_FALSE(av::ReadMidiFile(fifo, song, &error)); }));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

}  // namespace
