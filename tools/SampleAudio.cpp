#include "tools/SampleAudio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <numbers>

namespace {

struct Note {
    int key;  // MIDI note number
    int beats;
};

// The one tune both files carry.
constexpr std::array<Note, 15> kTune{{
    {60, 1},
    {64, 1},
    {67, 1},
    {64, 1},
    {65, 1},
    {69, 1},
    {72, 1},
    {69, 1},
    {67, 1},
    {64, 1},
    {62, 1},
    {65, 1},
    {64, 1},
    {62, 1},
    {60, 2},
}};
constexpr int kBeatsPerMinute = 160;
constexpr int kTicksPerBeat = 480;
// Each note is released a little before the next one starts, so notes stay apart.
constexpr int kHeldTicks = 420;

int TuneBeats()
{
    int beats = 0;
    for (const Note& note : kTune)
        beats += note.beats;
    return beats;
}

// RIFF stores its numbers little-endian, Standard MIDI Files big-endian.
void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int shift = 0; shift < bytes * 8; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void PutVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

void PutEvent(std::vector<std::uint8_t>& track, std::uint32_t delta,
              std::initializer_list<std::uint8_t> bytes)
{
    PutVariableLength(track, delta);
    track.insert(track.end(), bytes);
}

void PutTrack(std::vector<std::uint8_t>& file, const std::vector<std::uint8_t>& events)
{
    PutTag(file, "MTrk");
    PutBigEndian(file, static_cast<std::uint32_t>(events.size()), 4);
    file.insert(file.end(), events.begin(), events.end());
}

double KeyFrequency(int key)
{
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

}  // namespace

double MelodySeconds()
{
    return TuneBeats() * 60.0 / kBeatsPerMinute;
}

std::vector<std::uint8_t> MelodyWave()
{
    const double beatSeconds = 60.0 / kBeatsPerMinute;
    const std::size_t total =
        static_cast<std::size_t>(std::lround(MelodySeconds() * kMelodySampleRate));
    std::vector<std::int16_t> samples;
    samples.reserve(total);
    for (const Note& note : kTune) {
        const std::size_t length =
            static_cast<std::size_t>(std::lround(note.beats * beatSeconds * kMelodySampleRate));
        const double step = 2 * std::numbers::pi * KeyFrequency(note.key) / kMelodySampleRate;
        for (std::size_t i = 0; i < length && samples.size() < total; ++i) {
            // A quick rise and a falling tail keep the note edges from clicking.
            const double rise = std::min(1.0, i / 200.0);
            const double fall = 1.0 - static_cast<double>(i) / length;
            const double tone = std::sin(step * i) + 0.3 * std::sin(2 * step * i);
            samples.push_back(static_cast<std::int16_t>(std::lround(9000 * rise * fall * tone)));
        }
    }
    samples.resize(total, 0);

    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> file;
    file.reserve(44 + dataBytes);
    PutTag(file, "RIFF");
    PutLittleEndian(file, 36 + dataBytes, 4);
    PutTag(file, "WAVE");
    PutTag(file, "fmt ");
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, 1, 2);  // PCM
    PutLittleEndian(file, 1, 2);  // channels
    PutLittleEndian(file, kMelodySampleRate, 4);
    PutLittleEndian(file, kMelodySampleRate * 2, 4);  // bytes a second
    PutLittleEndian(file, 2, 2);                      // bytes a sample frame
    PutLittleEndian(file, 16, 2);                     // bits a sample
    PutTag(file, "data");
    PutLittleEndian(file, dataBytes, 4);
    for (std::int16_t sample : samples)
        PutLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
    return file;
}

std::vector<std::uint8_t> MelodyMidi()
{
    std::vector<std::uint8_t> conductor;
    const std::uint32_t microsecondsPerBeat = 60'000'000 / kBeatsPerMinute;
    PutEvent(conductor, 0,
             {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsecondsPerBeat >> 16),
              static_cast<std::uint8_t>((microsecondsPerBeat >> 8) & 0xFF),
              static_cast<std::uint8_t>(microsecondsPerBeat & 0xFF)});
    PutEvent(conductor, 0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});  // 4/4
    PutEvent(conductor, static_cast<std::uint32_t>(TuneBeats() * kTicksPerBeat),
             {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> tune;
    PutEvent(tune, 0, {0xC0, 0});  // piano
    std::uint32_t rest = 0;
    for (const Note& note : kTune) {
        const auto key = static_cast<std::uint8_t>(note.key);
        const std::uint32_t held = note.beats * kTicksPerBeat - (kTicksPerBeat - kHeldTicks);
        PutEvent(tune, rest, {0x90, key, 90});
        PutEvent(tune, held, {0x80, key, 0});
        rest = note.beats * kTicksPerBeat - held;
    }
    PutEvent(tune, rest, {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> file;
    PutTag(file, "MThd");
    PutBigEndian(file, 6, 4);
    PutBigEndian(file, 1, 2);  // format 1
    PutBigEndian(file, 2, 2);  // tracks
    PutBigEndian(file, kTicksPerBeat, 2);
    PutTrack(file, conductor);
    PutTrack(file, tune);
    return file;
}
