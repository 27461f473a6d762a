#include "platform/av/MidiFile.h"

#include "platform/win/Files.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <limits>
#include <optional>
#include <span>

namespace av {

namespace {

// Larger than any song; a bigger file is refused rather than read whole into memory.
// Message offsets are 32 bits: a file's messages never hold more bytes than the file.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;
static_assert(kMaxFileBytes <= std::numeric_limits<std::uint32_t>::max());
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
    // The bytes from `start` up to the cursor.
    std::span<const std::uint8_t> Since(std::size_t start) const
    {
        return bytes_.subspan(start, at_ - start);
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

struct TempoChange {
    std::uint64_t tick = 0;
    std::uint32_t microsecondsPerQuarter = kDefaultTempo;
};

// A message's bytes as the file holds them: a lead byte that the file does not keep
// beside the rest (the running status, or the F0 of a system-exclusive message, which
// its length separates from the body), then bytes as they stand in the file.
struct MessageBytes {
    std::optional<std::uint8_t> lead;
    std::span<const std::uint8_t> rest;

    std::size_t size() const { return (lead ? 1 : 0) + rest.size(); }
};

int DataBytesOf(std::uint8_t status)
{
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Reads the data bytes of a channel message after the `read` ones already taken.
bool ReadDataBytes(Reader& reader, std::uint8_t status, int read, std::string* error)
{
    for (int i = read; i < DataBytesOf(status); ++i) {
        const std::optional<std::uint8_t> data = reader.Byte();
        if (!data)
            return Fail(error, "a track is cut short inside a message");
        if (*data & 0x80)
            return Fail(error, "a message's data byte has its high bit set");
    }
    return true;
}

// Reads one MTrk chunk's events: channel messages (with running status), system
// exclusive messages and meta events. Hands each message to onMessage(tick, bytes) and
// each tempo change to onTempo(change), in file order; endTick becomes the track's end.
template <typename OnMessage, typename OnTempo>
bool ReadTrack(std::span<const std::uint8_t> chunk, OnMessage onMessage, OnTempo onTempo,
               std::uint64_t& endTick, std::string* error)
{
    Reader reader(chunk);
    // At most 2^28 ticks an event and fewer events than bytes: no overflow.
    std::uint64_t tick = 0;
    std::optional<std::uint8_t> runningStatus;
    while (!reader.AtEnd()) {
        const std::optional<std::uint32_t> delta = reader.Quantity();
        const std::size_t leadAt = reader.position();
        const std::optional<std::uint8_t> lead = reader.Byte();
        if (!delta || !lead)
            return Fail(error, "a track is cut short inside an event time");
        tick += *delta;
        if (*lead < 0x80) {
            if (!runningStatus)
                return Fail(error, "a data byte came without a status byte");
            if (!ReadDataBytes(reader, *runningStatus, 1, error))
                return false;
            onMessage(tick, MessageBytes{runningStatus, reader.Since(leadAt)});
        } else if (*lead < 0xF0) {
            runningStatus = *lead;
            if (!ReadDataBytes(reader, *lead, 0, error))
                return false;
            onMessage(tick, MessageBytes{std::nullopt, reader.Since(leadAt)});
        } else if (*lead == 0xF0 || *lead == 0xF7) {
            // System exclusive (F0) keeps its status byte on the wire; an F7 escape carries
            // the raw bytes to send. Both end running status.
            runningStatus.reset();
            const std::optional<std::uint32_t> length = reader.Quantity();
            const auto body = length ? reader.Bytes(*length) : std::nullopt;
            if (!body)
                return Fail(error, "a track is cut short inside a system-exclusive message");
            const MessageBytes message{*lead == 0xF0 ? lead : std::nullopt, *body};
            if (message.size() > 0)
                onMessage(tick, message);
        } else if (*lead == 0xFF) {
            // Meta events should end running status too, but files that keep using it
            // after a meta event are common and unambiguous, so it is kept.
            const std::optional<std::uint8_t> type = reader.Byte();
            const std::optional<std::uint32_t> length = reader.Quantity();
            const auto body = type && length ? reader.Bytes(*length) : std::nullopt;
            if (!body)
                return Fail(error, "a track is cut short inside a meta event");
            if (*type == 0x2F) {
                endTick = tick;
                return true;
            }
            if (*type == 0x51) {
                if (body->size() != 3)
                    return Fail(error, "a tempo change is not 3 bytes long");
                const std::uint32_t tempo = (*body)[0] << 16 | (*body)[1] << 8 | (*body)[2];
                if (tempo == 0)
                    return Fail(error, "a tempo change of zero");
                onTempo(TempoChange{tick, tempo});
            }
        } else {
            return Fail(error, "a track holds the status byte " + std::to_string(*lead) +
                                   ", which has no place in a file");
        }
    }
    // A track without its end-of-track event ends with its last event.
    endTick = tick;
    return true;
}

// Turns ticks into MediaTime, through the tempo map (metrical division) or at a fixed
// number of ticks per second (SMPTE division, where tempo changes do not apply). Each
// stretch of ticks lasts ticks * rate / divisor 100-nanosecond units, in 128 bits so that
// no product overflows; a time past the largest MediaTime has no value.
class TickClock {
public:
    TickClock(std::uint16_t division, std::vector<TempoChange> tempos)
    {
        if (division & 0x8000) {
            // The high byte is minus the frame rate; 29 stands for 30 drop-frame (29.97).
            const int framesPerSecond = 256 - (division >> 8);
            const std::uint32_t hundredthsOfFrames =
                framesPerSecond == 29 ? 2997 : framesPerSecond * 100;
            divisor_ = hundredthsOfFrames * (division & 0xFF);
            segments_.push_back({0, 0, 100 * kMediaTimePerSecond});
            return;
        }
        // Ticks per quarter note over tempos in microseconds (ten units) per quarter.
        divisor_ = division;
        std::stable_sort(
            tempos.begin(), tempos.end(),
            [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        segments_.push_back({0, 0, 10 * kDefaultTempo});
        for (const TempoChange& change : tempos) {
            Segment& last = segments_.back();
            const std::uint32_t rate = 10 * change.microsecondsPerQuarter;
            if (change.tick == last.tick)
                last.rate = rate;
            else
                segments_.push_back(
                    {change.tick, last.start + Span(change.tick - last.tick, last.rate), rate});
        }
    }

    std::optional<MediaTime> At(std::uint64_t tick) const
    {
        auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                      [](std::uint64_t t, const Segment& s) { return t < s.tick; });
        const Segment& segment = *std::prev(after);
        const unsigned __int128 time = segment.start + Span(tick - segment.tick, segment.rate);
        if (time > static_cast<unsigned __int128>(std::numeric_limits<MediaTime>::max()))
            return std::nullopt;
        return static_cast<MediaTime>(time);
    }

private:
    struct Segment {
        std::uint64_t tick;
        unsigned __int128 start;  // in 100-nanosecond units
        std::uint32_t rate;
    };

    unsigned __int128 Span(std::uint64_t ticks, std::uint32_t rate) const
    {
        return static_cast<unsigned __int128>(ticks) * rate / divisor_;
    }

    std::uint32_t divisor_ = 1;
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

    // The first pass checks every track, gathers the tempo map and counts the messages,
    // so that the second stores them without ever growing a container.
    std::vector<std::span<const std::uint8_t>> tracks;
    std::vector<TempoChange> tempos;
    std::size_t messageCount = 0;
    std::size_t byteCount = 0;
    std::uint64_t endTick = 0;
    while (static_cast<int>(tracks.size()) < trackCount) {
        const auto chunkId = reader.Bytes(4);
        const std::optional<std::uint32_t> length = reader.BigEndian(4);
        const auto body = chunkId && length ? reader.Bytes(*length) : std::nullopt;
        if (!body)
            return Fail(error, "the file ends before its last track");
        // Chunks of other types may sit between the tracks and are skipped.
        if (std::string(chunkId->begin(), chunkId->end()) != "MTrk")
            continue;
        tracks.push_back(*body);
        std::uint64_t trackEnd = 0;
        const auto count = [&](std::uint64_t, const MessageBytes& message) {
            ++messageCount;
            byteCount += message.size();
        };
        const auto keep = [&](const TempoChange& change) { tempos.push_back(change); };
        if (!ReadTrack(*body, count, keep, trackEnd, error))
            return false;
        endTick = std::max(endTick, trackEnd);
    }

    const TickClock clock(division, std::move(tempos));
    // Times grow with ticks, so when the end fits, every time does.
    const std::optional<MediaTime> duration = clock.At(endTick);
    if (!duration)
        return Fail(error, "its events lie later than the latest time a stream can hold");
    MidiSequence read;
    read.format = format;
    read.trackCount = trackCount;
    read.duration = *duration;
    read.messages.reserve(messageCount);
    read.bytes.reserve(byteCount);
    const auto store = [&](std::uint64_t tick, const MessageBytes& message) {
        read.messages.push_back({*clock.At(tick), static_cast<std::uint32_t>(read.bytes.size()),
                                 static_cast<std::uint32_t>(message.size())});
        if (message.lead)
            read.bytes.push_back(*message.lead);
        read.bytes.insert(read.bytes.end(), message.rest.begin(), message.rest.end());
    };
    for (const std::span<const std::uint8_t> track : tracks) {
        std::uint64_t trackEnd = 0;
        if (!ReadTrack(
                track, store, [](const TempoChange&) {}, trackEnd, error))
            return false;
    }
    // Each track is in time order already. Messages at one time keep their track order,
    // and within a track their file order.
    if (tracks.size() > 1)
        std::stable_sort(
            read.messages.begin(), read.messages.end(),
            [](const MidiMessage& a, const MidiMessage& b) { return a.time < b.time; });
    sequence = std::move(read);
    return true;
}

}  // namespace

bool ReadMidiFile(const std::string& path, MidiSequence& sequence, std::string* error)
{
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(path.c_str(), kMaxFileBytes, bytes)) {
    case FileRead::Read:
        return ParseMidi(bytes, sequence, error);
    case FileRead::TooLarge:
        return Fail(error, "\"" + path + "\" is too large for a MIDI file");
    default:
        return Fail(error, "cannot read \"" + path + "\"");
    }
}

}  // namespace av
