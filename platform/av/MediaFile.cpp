#include "platform/av/MediaFile.h"

#include "platform/av/FfmpegError.h"
#include "platform/av/FfmpegInput.h"

namespace av {

bool ProbeMediaFile(const std::string& path, std::vector<StreamInfo>& streams,
                    std::string* error)
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
    // A read error ends the count like the end of the file: a truncated file still
    // reports the packets that could be read.
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const int index = packet->stream_index;
        if (index >= 0 && index < static_cast<int>(found.size()))
            ++found[index].frameCount;
        av_packet_unref(packet.get());
    }
    streams = std::move(found);
    return true;
}

}  // namespace av
