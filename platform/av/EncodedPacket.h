#pragma once

#include "platform/av/MediaTime.h"

#include <cstdint>
#include <vector>

namespace av {

// One packet as a codec gave it out, stamped in the media layer's time.
struct EncodedPacket {
    std::vector<std::uint8_t> data;
    MediaTime startTime = 0;
    MediaTime endTime = 0;
    bool keyFrame = false;
};

}  // namespace av
