#include "platform/av/MidiFile.h"

#include "platform/win/Files.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>

namespace av {

namespace {

// Larger than any song; a bigger file is refused rather than read whole into memory.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;
constexpr std::uint32_t kDefaultTempo = 500'000;  // microseconds per quarter note: 120 bpm

bool Fail(std::string* error, const std::string& why)
{
    if (error)
        *error = "midi file: " + why;
    return false;
}

// A bounds-checked cursor over a chunk: every read says whether the bytes were there.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool AtEnd() const { return at_ >= bytes_.size(); }
    std::size_t position() const { return at_; }

    std::optional<std::uint8_t> Byte()
    {
        if (at_ >= bytes_.size())
            return std::nullopt;
        return bytes_[at_++];
    }
    std::optional<std::uint32_t> BigEndian(int count)
    {
        if (bytes_.size() - at_ < static_cast<std::size_t>(count))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | bytes_[at_++];
        return value;
    }
    // A variable-length quantity: seven bits a byte, high bit set on all but the last,
    // at most four bytes.
    std::optional<std::uint32_t> Quantity()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::optional<std::uint8_t> byte = Byte();
            if (!byte)
                return std::nullopt;
            value = value << 7 | (*byte & 0x7F);
            if (!(*byte & 0x80))
                return value;
        }
        return std::nullopt;
    }
    std::optional<std::span<const std::uint8_t>> Bytes(std::size_t count)
    {
        if (bytes_.size() - at_ < count)
            return std::nullopt;
        const std::span<const std::uint8_t> part = bytes_.subspan(at_, count);
        at_ += count;
        return part;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

struct TickEvent {
    std::uint64_t tick = 0;
    std::vector<std::uint8_t> bytes;
};

struct TempoChange {
    std::uint64_t tick = 0;
    std::uint32_t microsecondsPerQuarter = kDefaultTempo;
};

struct Track {
    std::vector<TickEvent> events;
    std::uint64_t endTick = 0;
};

int DataBytesOf(std::uint8_t status)
{
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

bool ReadChannelMessage(Reader& reader, std::uint8_t status, std::optional<std::uint8_t> first,
                        std::vector<std::uint8_t>& bytes, std::string* error)
{
    bytes = {status};
    for (int i = 0; i < DataBytesOf(status); ++i) {
        const std::optional<std::uint8_t> data = i == 0 && first ? first : reader.Byte();
        if (!data)
            return Fail(error, "a track is cut short inside a message");
        if (*data & 0x80)
            return Fail(error, "a message's data byte has its high bit set");
        bytes.push_back(*data);
    }
    return true;
}

// Reads one MTrk chunk's events: channel messages (with running status), system
// exclusive messages and meta events, of which tempo changes are kept aside.
bool ReadTrack(std::span<const std::uint8_t> chunk, Track& track, std::vector<TempoChange>& tempos,
               std::string* error)
{
    Reader reader(chunk);
    std::uint64_t tick = 0;
    std::optional<std::uint8_t> runningStatus;
    while (!reader.AtEnd()) {
        const std::optional<std::uint32_t> delta = reader.Quantity();
        const std::optional<std::uint8_t> lead = reader.Byte();
        if (!delta || !lead)
            return Fail(error, "a track is cut short inside an event time");
        tick += *delta;
        std::vector<std::uint8_t> bytes;
        if (*lead < 0x80) {
            if (!runningStatus)
                return Fail(error, "a data byte came without a status byte");
            if (!ReadChannelMessage(reader, *runningStatus, lead, bytes, error))
                return false;
        } else if (*lead < 0xF0) {
            runningStatus = *lead;
            if (!ReadChannelMessage(reader, *lead, std::nullopt, bytes, error))
                return false;
        } else if (*lead == 0xF0 || *lead == 0xF7) {
            // System exclusive (F0) keeps its status byte on the wire; an F7 escape carries
            // the raw bytes to send. Both end running status.
            runningStatus.reset();
            const std::optional<std::uint32_t> length = reader.Quantity();
            const auto body = length ? reader.Bytes(*length) : std::nullopt;
            if (!body)
                return Fail(error, "a track is cut short inside a system-exclusive message");
            const std::size_t prefix = *lead == 0xF0 ? 1 : 0;
            bytes.assign(prefix + body->size(), 0xF0);
            std::copy(body->begin(), body->end(), bytes.begin() + prefix);
            if (bytes.empty())
                continue;
        } else if (*lead == 0xFF) {
            // Meta events should end running status too, but files that keep using it
            // after a meta event are common and unambiguous, so it is kept.
            const std::optional<std::uint8_t> type = reader.Byte();
            const std::optional<std::uint32_t> length = reader.Quantity();
            const auto body = type && length ? reader.Bytes(*length) : std::nullopt;
            if (!body)
                return Fail(error, "a track is cut short inside a meta event");
            if (*type == 0x2F) {
                track.endTick = tick;
                return true;
            }
            if (*type == 0x51) {
                if (body->size() != 3)
                    return Fail(error, "a tempo change is not 3 bytes long");
                const std::uint32_t tempo = (*body)[0] << 16 | (*body)[1] << 8 | (*body)[2];
                if (tempo == 0)
                    return Fail(error, "a tempo change of zero");
                tempos.push_back({tick, tempo});
            }
            continue;
        } else {
            return Fail(error, "a track holds the status byte " + std::to_string(*lead) +
                                   ", which has no place in a file");
        }
        track.events.push_back({tick, std::move(bytes)});
    }
    // A track without its end-of-track event ends with its last event.
    track.endTick = tick;
    return true;
}

// Turns ticks into MediaTime, through the tempo map (metrical division) or at a fixed
// number of ticks per second (SMPTE division, where tempo changes do not apply).
class TickClock {
public:
    TickClock(std::uint16_t division, std::vector<TempoChange> tempos)
    {
        if (division & 0x8000) {
            // The high byte is minus the frame rate; 29 stands for 30 drop-frame (29.97).
            const int framesPerSecond = 256 - (division >> 8);
            const int ticksPerFrame = division & 0xFF;
            smpteTicksPerSecond_ = framesPerSecond == 29 ? 2997.0 * ticksPerFrame / 100
                                                         : framesPerSecond * ticksPerFrame;
            return;
        }
        ticksPerQuarter_ = division;
        std::stable_sort(
            tempos.begin(), tempos.end(),
            [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        segments_.push_back({0, 0, kDefaultTempo});
        for (const TempoChange& change : tempos) {
            Segment& last = segments_.back();
            const MediaTime start = last.start + Span(change.tick - last.tick, last.tempo);
            if (change.tick == last.tick)
                last.tempo = change.microsecondsPerQuarter;
            else
                segments_.push_back({change.tick, start, change.microsecondsPerQuarter});
        }
    }

    MediaTime At(std::uint64_t tick) const
    {
        if (smpteTicksPerSecond_ > 0)
            return static_cast<MediaTime>(tick * (kMediaTimePerSecond / smpteTicksPerSecond_));
        auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                      [](std::uint64_t t, const Segment& s) { return t < s.tick; });
        const Segment& segment = *std::prev(after);
        return segment.start + Span(tick - segment.tick, segment.tempo);
    }

private:
    struct Segment {
        std::uint64_t tick;
        MediaTime start;
        std::uint32_t tempo;
    };

    // ticks at tempo microseconds per quarter, in 100-nanosecond units; 128 bits because
    // ticks times tempo may exceed 64.
    MediaTime Span(std::uint64_t ticks, std::uint32_t tempo) const
    {
        const unsigned __int128 units = static_cast<unsigned __int128>(ticks) * tempo * 10;
        return static_cast<MediaTime>(units / ticksPerQuarter_);
    }

    std::uint32_t ticksPerQuarter_ = 1;
    double smpteTicksPerSecond_ = 0;
    std::vector<Segment> segments_;
};

bool ParseMidi(std::span<const std::uint8_t> file, MidiSequence& sequence, std::string* error)
{
    Reader reader(file);
    const auto id = reader.Bytes(4);
    const std::optional<std::uint32_t> headerLength = reader.BigEndian(4);
    if (!id || std::string(id->begin(), id->end()) != "MThd" || !headerLength)
        return Fail(error, "not a Standard MIDI File");
    const auto header = *headerLength >= 6 ? reader.Bytes(*headerLength) : std::nullopt;
    if (!header)
        return Fail(error, "the header chunk is cut short");
    Reader fields(*header);
    const int format = static_cast<int>(*fields.BigEndian(2));
    const int trackCount = static_cast<int>(*fields.BigEndian(2));
    const auto division = static_cast<std::uint16_t>(*fields.BigEndian(2));
    if (format != 0 && format != 1)
        return Fail(error, "format " + std::to_string(format) + " is not supported (only 0 and 1)");
    if (trackCount < 1 || (format == 0 && trackCount != 1))
        return Fail(error, "format " + std::to_string(format) + " with " +
                               std::to_string(trackCount) + " tracks");
    if (division == 0 || ((division & 0x8000) && (division & 0xFF) == 0))
        return Fail(error, "a division of zero ticks");
    if ((division & 0x8000)) {
        const int rate = 256 - (division >> 8);
        if (rate != 24 && rate != 25 && rate != 29 && rate != 30)
            return Fail(error, "an SMPTE division of " + std::to_string(rate) + " frames a second");
    }

    std::vector<Track> tracks;
    std::vector<TempoChange> tempos;
    while (static_cast<int>(tracks.size()) < trackCount) {
        const auto chunkId = reader.Bytes(4);
        const std::optional<std::uint32_t> length = reader.BigEndian(4);
        const auto body = chunkId && length ? reader.Bytes(*length) : std::nullopt;
        if (!body)
            return Fail(error, "the file ends before its last track");
        // Chunks of other types may sit between the tracks and are skipped.
        if (std::string(chunkId->begin(), chunkId->end()) != "MTrk")
            continue;
        tracks.emplace_back();
        if (!ReadTrack(*body, tracks.back(), tempos, error))
            return false;
    }

    const TickClock clock(division, std::move(tempos));
    struct Timed {
        std::uint64_t tick;
        std::size_t track;
        std::size_t order;
    };
    std::vector<Timed> order;
    std::uint64_t endTick = 0;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        endTick = std::max(endTick, tracks[t].endTick);
        for (std::size_t e = 0; e < tracks[t].events.size(); ++e)
            order.push_back({tracks[t].events[e].tick, t, e});
    }
    // Same-tick messages keep their track order, and within a track their file order.
    std::stable_sort(order.begin(), order.end(),
                     [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    sequence = MidiSequence{};
    sequence.format = format;
    sequence.trackCount = trackCount;
    sequence.messages.reserve(order.size());
    for (const Timed& timed : order)
        sequence.messages.push_back(
            {clock.At(timed.tick), std::move(tracks[timed.track].events[timed.order].bytes)});
    sequence.duration = clock.At(endTick);
    return true;
}

}  // namespace

bool ReadMidiFile(const std::string& path, MidiSequence& sequence, std::string* error)
{
    std::ifstream in(ToNativePath(path.c_str()), std::ios::binary | std::ios::ate);
    if (!in)
        return Fail(error, "cannot open \"" + path + "\"");
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileBytes)
        return Fail(error, "\"" + path + "\" is too large for a MIDI file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return Fail(error, "reading \"" + path + "\" failed");
    return ParseMidi(bytes, sequence, error);
}

}  // namespace av
