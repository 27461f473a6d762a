#pragma once

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

}  // namespace av
