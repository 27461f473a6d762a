#include "platform/av/MidiFile.h"

#include "AviProbe.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(song.messages[1].bytes, (Bytes{0x90, 62, 100}));
    EXPECT_EQ(song.messages[1].time, 500 * kMs);
    EXPECT_EQ(song.messages[2].bytes, (Bytes{0x80, 60, 0}));
    EXPECT_EQ(song.messages[2].time, 2500 * kMs);
    EXPECT_EQ(song.messages[3].bytes, (Bytes{0xF0, 0x7E, 0x09, 0xF7}));
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
    EXPECT_EQ(song.messages[0].bytes, (Bytes{0x99, 36, 127}));
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
}

}  // namespace
