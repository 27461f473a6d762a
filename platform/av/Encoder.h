#pragma once

#include "platform/av/MediaTime.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace av {

enum class EncoderCategory { Audio, Video };

// One compressor that this build offers: the name users pick it by and the codec
// behind it.
struct EncoderEntry {
    std::string friendlyName;
    EncoderCategory category = EncoderCategory::Video;
    std::string codecName;  // the encoder's name in the codec library
};

// The compressors of a category whose encoder the linked codec library has, always in
// the same order.
std::vector<EncoderEntry> AvailableEncoders(EncoderCategory category);

// How one stream of an AVI file is stored: handed from an encoder (or made for an
// uncompressed stream) to the AviWriter. Opaque outside the media layer.
class StreamFormat;
using StreamFormatPtr = std::shared_ptr<const StreamFormat>;

// Uncompressed streams: video as bottom-up 24-bit bitmaps (rows padded to 4 bytes),
// audio as interleaved signed 16-bit PCM, MIDI as raw timed MIDI messages.
StreamFormatPtr RawVideoFormat(int width, int height, double framesPerSecond);
StreamFormatPtr PcmAudioFormat(int sampleRate, int channels);
StreamFormatPtr MidiFormat();

struct EncodedPacket {
    std::vector<std::uint8_t> data;
    MediaTime startTime = 0;
    MediaTime endTime = 0;
    bool keyFrame = false;
};

// Compresses 24-bit bitmaps (rows padded to 4 bytes) with the named compressor,
// converting them to whatever the codec takes. As in a bitmap header, a positive height
// means rows stored bottom-up (the grabber's frames of a media file), a negative one
// top-down (the frames of a bitmap source).
class VideoEncoder {
public:
    // Null, with a message, when no compressor has that friendly name (compared without
    // regard to case) or its codec cannot be opened for that size.
    static std::unique_ptr<VideoEncoder> Open(const std::string& friendlyName, int width,
                                              int height, double framesPerSecond,
                                              std::string* error);
    virtual ~VideoEncoder() = default;
    virtual StreamFormatPtr format() const = 0;
    // frame holds ((width * 3 + 3) & ~3) * |height| bytes. Packets that became ready are
    // appended to out (often one per frame, none while the codec buffers).
    virtual bool Encode(const std::uint8_t* frame, MediaTime startTime,
                        std::vector<EncodedPacket>& out, std::string* error) = 0;
    // Drains the codec at the end of the stream.
    virtual bool Flush(std::vector<EncodedPacket>& out, std::string* error) = 0;
};

// Compresses interleaved signed 16-bit PCM of any rate and channel count with the named
// compressor, resampling and regrouping it into the codec's frames.
class AudioEncoder {
public:
    static std::unique_ptr<AudioEncoder> Open(const std::string& friendlyName, int sampleRate,
                                              int channels, std::string* error);
    virtual ~AudioEncoder() = default;
    virtual StreamFormatPtr format() const = 0;
    virtual bool Encode(const std::uint8_t* pcm, std::size_t bytes, MediaTime startTime,
                        std::vector<EncodedPacket>& out, std::string* error) = 0;
    virtual bool Flush(std::vector<EncodedPacket>& out, std::string* error) = 0;
};

}  // namespace av
