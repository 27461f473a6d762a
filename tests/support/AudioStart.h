#pragma once

#include "platform/av/MediaFile.h"
#include "platform/av/StreamDecoder.h"

#include "support/TestMedia.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// The first audio stream header ("strh" of type "auds") of an AVI file's header list, as
// its bytes state it.
struct AudioStreamHeader {
    std::uint32_t scale = 0;
    std::uint32_t rate = 0;
    std::uint32_t start = 0;  // in units of scale / rate seconds
};

inline std::optional<AudioStreamHeader> FirstAudioStreamHeader(const std::string& path)
{
    const std::string bytes = ReadWholeFile(path);
    const auto le32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]))
                     << (8 * i);
        return value;
    };
    // Calls found(id, data offset, data size) for each chunk of [begin, end), chunks padded
    // to an even size; stops when found answers true.
    const auto walk = [&](std::size_t begin, std::size_t end, const auto& found) {
        for (std::size_t at = begin; at + 8 <= end;) {
            const std::uint32_t size = le32(at + 4);
            if (size > end - at - 8)
                return;
            if (found(std::string_view(bytes).substr(at, 4), at + 8, std::size_t{size}))
                return;
            at += 8 + size + (size & 1);
        }
    };
    const auto isList = [&](std::string_view id, std::size_t data, std::size_t size,
                            std::string_view type) {
        return id == "LIST" && size >= 4 && bytes.compare(data, 4, type) == 0;
    };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "AVI ") != 0)
        return std::nullopt;
    std::optional<AudioStreamHeader> header;
    walk(12, bytes.size(), [&](std::string_view id, std::size_t data, std::size_t size) {
        if (!isList(id, data, size, "hdrl"))
            return false;
        walk(data + 4, data + size, [&](std::string_view id, std::size_t data, std::size_t size) {
            if (!isList(id, data, size, "strl"))
                return false;
            walk(data + 4, data + size,
                 [&](std::string_view id, std::size_t data, std::size_t size) {
                     if (id == "strh" && size >= 32 && bytes.compare(data, 4, "auds") == 0)
                         header =
                             AudioStreamHeader{le32(data + 20), le32(data + 24), le32(data + 28)};
                     return id == "strh";
                 });
            return header.has_value();
        });
        return true;
    });
    return header;
}

}  // namespace testmedia
