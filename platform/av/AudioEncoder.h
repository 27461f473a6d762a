#pragma once

#include "platform/av/EncodedPacket.h"
#include "platform/av/MediaTime.h"
#include "platform/av/StreamFormatPtr.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace av {

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
