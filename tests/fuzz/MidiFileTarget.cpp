#include "FuzzTargets.h"

#include "platform/av/MidiFile.h"

#include <string>

namespace {

constexpr std::string_view kTarget = "midi_file";

}  // namespace

void FuzzMidiFile(std::span<const std::uint8_t> input)
{
    const std::string path = WriteScratchFile("input.mid", input);
    av::MidiSequence song;
    std::string error;
    if (!av::ReadMidiFile(path, song, &error)) {
        Require(error.starts_with("midi file: "), kTarget, "a refused file says why");
        return;
    }
    Require(song.format == 0 || song.format == 1, kTarget, "the format is 0 or 1");
    Require(song.trackCount >= 1, kTarget, "a song has a track");
    av::MediaTime last = 0;
    std::size_t bytes = 0;
    for (const av::MidiMessage& message : song.messages) {
        Require(message.time >= last, kTarget, "times never go backwards or below 0");
        last = message.time;
        Require(message.size > 0 && message.offset <= song.bytes.size() &&
                    message.size <= song.bytes.size() - message.offset,
                kTarget, "a message's bytes lie in the store");
        bytes += message.size;
    }
    Require(bytes == song.bytes.size(), kTarget, "the messages share out the store");
    Require(song.bytes.size() <= input.size(), kTarget, "the store is no larger than the file");
    Require(song.duration >= last, kTarget, "the song lasts until its last message");
}
