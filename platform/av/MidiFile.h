#pragma once

#include "platform/av/MediaTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace av {

// One MIDI message at its time: status byte and data bytes as on the wire (running
// status resolved; system-exclusive messages start with 0xF0). Meta events are not
// messages and do not appear, but tempo changes are applied to the times.
struct MidiMessage {
    MediaTime time = 0;
    std::vector<std::uint8_t> bytes;
};

struct MidiSequence {
    int format = 0;  // 0 or 1
    int trackCount = 0;
    std::vector<MidiMessage> messages;  // every track merged, in time order
    MediaTime duration = 0;             // time of the last event, end-of-track included
};

// Reads a Standard MIDI File of format 0 or 1. False, with a message, on anything else or
// on a file that is cut short or malformed.
bool ReadMidiFile(const std::string& path, MidiSequence& sequence, std::string* error);

}  // namespace av
