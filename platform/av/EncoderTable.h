#pragma once

#include "platform/av/EncoderEntry.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

#include <span>
#include <string>

namespace av {

// One row of the compressor table: the name users know, the FFmpeg encoder behind it
// and the settings that give a watchable (or listenable) result at a reasonable size.
struct EncoderSettings {
    const char* friendlyName;
    EncoderCategory category;
    const char* codecName;
    // Video: the pixel format to encode in (AV_PIX_FMT_NONE: the codec's first), a fixed
    // quantiser (0: none; 2 best .. 31 worst), the x264 constant rate factor (0: none)
    // and the key-frame distance in seconds (0: the codec's default).
    AVPixelFormat pixelFormat;
    int qscale;
    int crf;
    int keyFrameSeconds;
    // Audio: a sample rate the codec demands (0: the source's, or the nearest one the
    // codec lists), the highest rate it takes (0: any), the most channels it takes
    // (0: any) and the bit rate per channel (0: fixed by the codec).
    int sampleRate;
    int maxSampleRate;
    int maxChannels;
    int bitRatePerChannel;
};

// Every row, in the order the compressor lists show them.
std::span<const EncoderSettings> EncoderTable();

// The row of that category whose friendly name equals name without regard to case, or
// null.
const EncoderSettings* FindEncoderSettings(const std::string& name, EncoderCategory category);

}  // namespace av
