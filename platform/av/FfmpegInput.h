#pragma once

#include "platform/av/FfmpegHandles.h"
#include "platform/av/MediaFile.h"
#include "platform/av/MediaTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace av {

// Opens a file for demuxing and reads ahead until its streams are known. Null, with a
// message starting with `who`, when the file is missing, unreadable, not a media file or
// holds no stream.
InputFormatPtr OpenInputFile(const std::string& path, std::string_view who,
                             std::string* error);

// The stream at `index` of an opened input as the demuxer describes it; frameCount is 0.
StreamInfo DescribeStream(const AVFormatContext& input, int index);

// The one conversion from an FFmpeg time stamp into our time: `timestamp` counts units of
// `timeBase` (a stream's time base, AV_TIME_BASE_Q, or 1/rate for a sample count); the
// result is in 100-nanosecond units.
MediaTime ToMediaTime(std::int64_t timestamp, AVRational timeBase);

}  // namespace av
