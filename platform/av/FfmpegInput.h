#pragma once

#include "platform/av/FfmpegHandles.h"
#include "platform/av/MediaFile.h"
#include "platform/av/MediaTime.h"
#include "platform/av/StreamTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace av {

// Opens a file for demuxing and reads ahead until its streams are known. Null, with a
// message starting with `who`, when the file is missing, unreadable, not a media file or
// holds no stream.
InputFormatContextPtr OpenInputFile(const std::string& path, std::string_view who,
                                    std::string* error);

// The stream at `index` of an opened input as the demuxer describes it; frameCount is 0.
StreamInfo DescribeStream(const AVFormatContext& input, int index);

// A length of `ticks` in timeBase as seconds; 0 when it is not positive or does not fit
// a MediaTime.
double DurationSeconds(std::int64_t ticks, AVRational timeBase);

}  // namespace av
