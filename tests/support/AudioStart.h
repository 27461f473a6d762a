#pragma once

#include "platform/av/MediaFile.h"
#include "platform/av/StreamDecoder.h"

#include <string>
#include <vector>

namespace testmedia {

// When the demuxer plays the first sample of a file's first audio stream, in seconds
// (the stream header's start moves it); -1 when there is no decodable audio.
inline double FirstAudioSampleSeconds(const std::string& path)
{
    std::vector<av::StreamInfo> streams;
    if (!av::ProbeMediaFile(path, streams, nullptr))
        return -1.0;
    for (const av::StreamInfo& stream : streams) {
        if (stream.kind != av::StreamKind::Audio)
            continue;
        auto decoder = av::StreamDecoder::Open(path, stream.index, nullptr);
        av::DecodedSample sample;
        if (decoder && decoder->Next(sample, nullptr) == av::StreamDecoder::Status::Sample)
            return static_cast<double>(sample.startTime) / av::kMediaTimePerSecond;
        return -1.0;
    }
    return -1.0;
}

}  // namespace testmedia
