#pragma once

#include <cstdint>
#include <vector>

// The sample tune, 16 beats at 160 beats a minute (6 seconds), as file images written
// byte by byte so that no codec library decides their layout.

// A RIFF WAVE file: PCM, 1 channel, signed 16-bit little-endian, 22050 samples a second.
std::vector<std::uint8_t> MelodyWave();
inline constexpr int kMelodySampleRate = 22050;

// A Standard MIDI File of format 1 with two tracks: a conductor track with the tempo (and
// the time signature), and the tune on channel 1.
std::vector<std::uint8_t> MelodyMidi();

// The tune's length in seconds, the same in both files.
double MelodySeconds();
