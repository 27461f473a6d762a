#include "FuzzTargets.h"

#include "platform/av/MediaFile.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kTarget = "media_probe";

bool IsLength(double seconds)
{
    return std::isfinite(seconds) && seconds >= 0;
}

}  // namespace

void FuzzMediaProbe(std::span<const std::uint8_t> input)
{
    // No extension: the demuxers go by the content.
    const std::string path = WriteScratchFile("input-media", input);
    std::vector<av::StreamInfo> streams;
    std::string error;
    if (!av::ProbeMediaFile(path, streams, &error)) {
        Require(error.starts_with("probe: "), kTarget, "a refused file says why");
        Require(streams.empty(), kTarget, "a refused file lists no stream");
        return;
    }
    Require(!streams.empty(), kTarget, "a media file has a stream");
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const av::StreamInfo& stream = streams[i];
        Require(stream.index == static_cast<int>(i), kTarget, "streams are listed in file order");
        Require(IsLength(stream.durationSeconds), kTarget,
                "a duration is a length of time, 0 when unknown");
        Require(std::isfinite(stream.startSeconds), kTarget, "a start is a time");
        Require(IsLength(stream.framesPerSecond), kTarget, "a frame rate is not negative");
        Require(stream.frameCount >= 0 && stream.width >= 0 && stream.height >= 0 &&
                    stream.sampleRate >= 0 && stream.channels >= 0,
                kTarget, "counts and sizes are not negative");
    }
}
