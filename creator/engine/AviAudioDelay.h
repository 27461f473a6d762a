#pragma once

#include <cstdint>

// Moves the start of the audio in a finished AVI file by rewriting, in place, the
// dwStart field of its first audio ("auds") or MIDI ("mids") stream header, so that the
// audio begins delayMs milliseconds after the video (which opens with the intro card).
//
// Returns 1 when the file opens for reading and writing (no other open holds it for
// writing), its header list holds such a stream header with a non-zero dwScale, and, for
// any delay other than -1, the new value was written. A delay of -1 only asks whether
// the file can take the patch and writes nothing. 0 otherwise; the file is then left as
// it was. Only the header list (the "hdrl" LIST among the top-level chunks of the first
// RIFF chunk, also behind a "JUNK" chunk) is searched, so media data or padding that
// happens to look like a stream header is never touched.
// dwStart is in the stream's units of dwScale / dwRate seconds: the rate dwRate / dwScale
// (in single precision) times the delay, taken as an unsigned 32-bit value, / 1000,
// truncated; 5000 ms of 44,100 Hz PCM (dwScale 4, dwRate 176,400) gives 220,500.
// Called on the user-interface thread once nothing else writes the file.
int SetAviAudioDelay(const char* path, std::int32_t delayMs);
