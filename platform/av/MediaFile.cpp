#include "platform/av/MediaFile.h"

#include "platform/av/FfmpegError.h"
#include "platform/av/FfmpegInput.h"

namespace av {

bool ProbeMediaFile(const std::string& path, std::vector<StreamInfo>& streams, std::string* error)
{
    InputFormatContextPtr input = OpenInputFile(path, "probe", error);
    if (!input)
        return false;
    std::vector<StreamInfo> found;
    for (unsigned i = 0; i < input->nb_streams; ++i)
        found.push_back(DescribeStream(*input, static_cast<int>(i)));

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return Fail(error, "probe: out of memory");
    // Where each stream's last packet ends, in the stream's own time base: some demuxers
    // (AVI with PCM among them) know no length for a stream, and the whole file's length
    // stands in for it only as long as nothing better was read.
    std::vector<std::int64_t> ends(found.size(), AV_NOPTS_VALUE);
    // A read error ends the count like the end of the file: a truncated file still
    // reports the packets that could be read.
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const int index = packet->stream_index;
        if (index >= 0 && index < static_cast<int>(found.size())) {
            ++found[index].frameCount;
            const std::int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            std::int64_t end = 0;
            // A packet whose end does not fit 64 bits tells nothing of the stream's length.
            if (time != AV_NOPTS_VALUE && !__builtin_add_overflow(time, packet->duration, &end) &&
                (ends[index] == AV_NOPTS_VALUE || end > ends[index]))
                ends[index] = end;
        }
        av_packet_unref(packet.get());
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        const AVStream& stream = *input->streams[i];
        if ((stream.duration == AV_NOPTS_VALUE || stream.duration <= 0) &&
            ends[i] != AV_NOPTS_VALUE) {
            const std::int64_t start = stream.start_time != AV_NOPTS_VALUE ? stream.start_time : 0;
            std::int64_t length = 0;
            if (!__builtin_sub_overflow(ends[i], start, &length))
                found[i].durationSeconds = DurationSeconds(length, stream.time_base);
        }
    }
    streams = std::move(found);
    return true;
}

}  // namespace av
