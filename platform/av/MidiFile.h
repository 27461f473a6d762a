#pragma once

#include "platform/av/MediaTime.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace av {

// One MIDI message at its time. Its bytes, status byte and data bytes as on the wire
// (running status resolved; system-exclusive messages start with 0xF0), lie in the
// sequence's byte store, so that a song of millions of short messages takes little more
// memory than its file. Meta events are not messages and do not appear, but tempo
// changes are applied to the times.
struct MidiMessage {
    MediaTime time = 0;
    std::uint32_t offset = 0;  // of the message's first byte in MidiSequence::bytes
    std::uint32_t size = 0;
};

struct MidiSequence {
    int format = 0;  // 0 or 1
    int trackCount = 0;
    std::vector<MidiMessage> messages;  // every track merged, in time order
    std::vector<std::uint8_t> bytes;    // the bytes of every message
    MediaTime duration = 0;             // time of the last event, end-of-track included

    std::span<const std::uint8_t> BytesOf(const MidiMessage& message) const
    {
        return std::span(bytes).subspan(message.offset, message.size);
    }
};

// Reads a Standard MIDI File of format 0 or 1. False, with a message, on anything else,
// on a file that is cut short or malformed, and on one whose times do not fit a
// MediaTime.
bool ReadMidiFile(const std::string& path, MidiSequence& sequence, std::string* error);

}  // namespace av
