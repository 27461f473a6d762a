#include "tools/SampleAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t LittleEndian(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | b.at(at + i);
    return value;
}

std::uint32_t BigEndian(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | b.at(at + i);
    return value;
}

std::string Tag(const Bytes& b, std::size_t at)
{
    return std::string(b.begin() + at, b.begin() + at + 4);
}

// What a walk through one track's events finds; the walk fails the test on any event it
// cannot step over, so a broken length or delta encoding shows.
struct TrackSummary {
    std::uint32_t endTick = 0;
    bool endsWithEndOfTrack = false;
    int noteOns = 0;
    int noteOffs = 0;
    std::uint32_t tempo = 0;  // microseconds a beat, 0 when the track sets none
};

std::uint32_t ReadVariableLength(const Bytes& b, std::size_t& at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t byte = b.at(at++);
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    ADD_FAILURE() << "variable-length number longer than 4 bytes";
    return value;
}

TrackSummary WalkTrack(const Bytes& b, std::size_t begin, std::size_t end)
{
    TrackSummary track;
    std::size_t at = begin;
    while (at < end) {
        track.endTick += ReadVariableLength(b, at);
        const std::uint8_t status = b.at(at++);
        if (status == 0xFF) {
            const std::uint8_t type = b.at(at++);
            const std::uint32_t length = ReadVariableLength(b, at);
            if (type == 0x51 && length == 3)
                track.tempo = BigEndian(b, at, 3);
            at += length;
            if (type == 0x2F) {
                track.endsWithEndOfTrack = at == end;
                return track;
            }
        } else if ((status & 0xF0) == 0x90) {
            ++track.noteOns;
            at += 2;
        } else if ((status & 0xF0) == 0x80) {
            ++track.noteOffs;
            at += 2;
        } else if ((status & 0xF0) == 0xC0) {
            at += 1;
        } else {
            ADD_FAILURE() << "unexpected status byte " << int(status);
            return track;
        }
    }
    return track;
}

}  // namespace

TEST(SampleWave, HeaderDescribesMonoSixteenBitPcmOfTheTunesLength)
{
    const Bytes wave = MelodyWave();
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(Tag(wave, 0), "RIFF");
    EXPECT_EQ(LittleEndian(wave, 4, 4), wave.size() - 8);
    EXPECT_EQ(Tag(wave, 8), "WAVE");
    EXPECT_EQ(Tag(wave, 12), "fmt ");
    EXPECT_EQ(LittleEndian(wave, 16, 4), 16u);
    EXPECT_EQ(LittleEndian(wave, 20, 2), 1u);
    EXPECT_EQ(LittleEndian(wave, 22, 2), 1u);
    EXPECT_EQ(LittleEndian(wave, 24, 4), std::uint32_t(kMelodySampleRate));
    EXPECT_EQ(LittleEndian(wave, 28, 4), std::uint32_t(kMelodySampleRate * 2));
    EXPECT_EQ(LittleEndian(wave, 32, 2), 2u);
    EXPECT_EQ(LittleEndian(wave, 34, 2), 16u);
    EXPECT_EQ(Tag(wave, 36), "data");
    const std::uint32_t dataBytes = LittleEndian(wave, 40, 4);
    EXPECT_EQ(dataBytes, wave.size() - 44);
    EXPECT_NEAR(dataBytes / 2.0 / kMelodySampleRate, MelodySeconds(), 1e-3);
}

TEST(SampleWave, EveryBeatIsAudible)
{
    const Bytes wave = MelodyWave();
    const std::size_t samples = (wave.size() - 44) / 2;
    const std::size_t beat = static_cast<std::size_t>(kMelodySampleRate * 60 / 160);
    ASSERT_GT(samples, beat);
    for (std::size_t start = 0; start + beat <= samples; start += beat) {
        double energy = 0;
        for (std::size_t i = start; i < start + beat; ++i) {
            const auto s = static_cast<std::int16_t>(LittleEndian(wave, 44 + 2 * i, 2));
            energy += double(s) * s;
        }
        EXPECT_GT(std::sqrt(energy / beat), 1000.0) << "beat starting at sample " << start;
    }
}

TEST(SampleMidi, FormatOneWithAConductorTrackAndATuneTrackOfTheSameLength)
{
    const Bytes midi = MelodyMidi();
    ASSERT_GE(midi.size(), 14u);
    EXPECT_EQ(Tag(midi, 0), "MThd");
    EXPECT_EQ(BigEndian(midi, 4, 4), 6u);
    EXPECT_EQ(BigEndian(midi, 8, 2), 1u);
    ASSERT_EQ(BigEndian(midi, 10, 2), 2u);
    const std::uint32_t ticksPerBeat = BigEndian(midi, 12, 2);
    ASSERT_GT(ticksPerBeat, 0u);
    ASSERT_LT(ticksPerBeat, 0x8000u);

    std::vector<TrackSummary> tracks;
    std::size_t at = 14;
    for (int i = 0; i < 2; ++i) {
        ASSERT_LE(at + 8, midi.size());
        EXPECT_EQ(Tag(midi, at), "MTrk");
        const std::size_t end = at + 8 + BigEndian(midi, at + 4, 4);
        ASSERT_LE(end, midi.size());
        tracks.push_back(WalkTrack(midi, at + 8, end));
        EXPECT_TRUE(tracks.back().endsWithEndOfTrack) << "track " << i;
        at = end;
    }
    EXPECT_EQ(at, midi.size());

    ASSERT_GT(tracks[0].tempo, 0u);
    EXPECT_EQ(tracks[0].noteOns, 0);
    EXPECT_GT(tracks[1].noteOns, 8);
    EXPECT_EQ(tracks[1].noteOns, tracks[1].noteOffs);
    EXPECT_EQ(tracks[0].endTick, tracks[1].endTick);
    const double seconds = double(tracks[1].endTick) / ticksPerBeat * tracks[0].tempo / 1e6;
    EXPECT_NEAR(seconds, MelodySeconds(), 1e-3);
}
