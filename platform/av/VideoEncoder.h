#pragma once

#include "platform/av/EncodedPacket.h"
#include "platform/av/MediaTime.h"
#include "platform/av/StreamFormatPtr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace av {

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

}  // namespace av
