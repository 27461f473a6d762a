#pragma once

#include "platform/av/MediaTime.h"

#include <string>
#include <vector>

namespace av {

enum class StreamKind { Video, Audio, Other };

// What a media file holds, as read by the demuxer (and, for frameCount, by reading the
// stream's packets through once).
struct StreamInfo {
    int index = 0;                        // the stream's position in the file
    StreamKind kind = StreamKind::Other;  // Other too for an attached picture (cover art)
    std::string codec;                    // the codec's short name, "" when unknown
    std::string fourcc;      // the container's codec tag as four characters, "" when none
                             // or when it is a number (a WAV format tag, BI_RGB, BI_RLE8)
    bool decodable = false;  // a decoder for it is linked
    int width = 0;           // video; sizes and counts are 0 when unknown
    int height = 0;
    double framesPerSecond = 0;  // video: average rate, 0 when unknown
    int sampleRate = 0;          // audio
    int channels = 0;
    double startSeconds = 0;     // when the stream's first sample is due; 0 when unknown
    double durationSeconds = 0;  // 0 when unknown or too long to represent
    long long frameCount = 0;    // packets of the stream in the file (up to a read error)
};

// Lists the streams of a media file. False, with a message naming the cause, when the
// file cannot be opened or is not a media file.
bool ProbeMediaFile(const std::string& path, std::vector<StreamInfo>& streams, std::string* error);

}  // namespace av
