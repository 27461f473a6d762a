#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The fuzz targets: each runs one parser of files that users hand the programs on one
// input and checks the properties that every input must keep, well-formed or hostile.
// A broken property aborts the process with a message naming it, which libFuzzer reports
// as a crash (saving the input) and the regression test as a failed run. The same targets
// serve the libFuzzer harnesses (FuzzEntry.cpp, built with TAVRINO_FUZZ) and the normal
// test suite, which runs every seed and every saved regression input through them.
//
// Targets that read files write the input to a scratch file of this process first.

using FuzzTarget = void (*)(std::span<const std::uint8_t> input);

struct NamedFuzzTarget {
    std::string_view name;  // also the folder of its seeds and saved regression inputs
    FuzzTarget run;
};

void FuzzProfileRead(std::span<const std::uint8_t> input);
void FuzzProfileWrite(std::span<const std::uint8_t> input);
void FuzzMidiFile(std::span<const std::uint8_t> input);
void FuzzAviAudioStart(std::span<const std::uint8_t> input);
void FuzzPictureLoad(std::span<const std::uint8_t> input);
void FuzzMediaProbe(std::span<const std::uint8_t> input);

inline constexpr NamedFuzzTarget kFuzzTargets[] = {
    {"profile_read", FuzzProfileRead}, {"profile_write", FuzzProfileWrite},
    {"midi_file", FuzzMidiFile},       {"avi_audio_start", FuzzAviAudioStart},
    {"picture_load", FuzzPictureLoad}, {"media_probe", FuzzMediaProbe},
};

// Aborts, naming the target, the property and the input (see SetFuzzInputName), unless
// the property holds.
void Require(bool holds, std::string_view target, std::string_view property);

// Names the input that the next runs are given, for Require's message; empty for none.
void SetFuzzInputName(std::string name);

// Writes bytes to the file `name` in this process's scratch folder (made on first use,
// removed at exit) and returns its path.
std::string WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes);

// The whole content of a file; empty when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
