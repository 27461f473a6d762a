#pragma once

#include <memory>

namespace av {

// How one stream of an AVI file is stored: handed from an encoder (or made for an
// uncompressed stream) to the AviWriter. Opaque outside the media layer (StreamFormat.h).
class StreamFormat;
using StreamFormatPtr = std::shared_ptr<const StreamFormat>;

// Uncompressed streams: video as bottom-up 24-bit bitmaps (rows padded to 4 bytes),
// audio as interleaved signed 16-bit PCM, MIDI as raw timed MIDI messages.
StreamFormatPtr RawVideoFormat(int width, int height, double framesPerSecond);
StreamFormatPtr PcmAudioFormat(int sampleRate, int channels);
StreamFormatPtr MidiFormat();

}  // namespace av
