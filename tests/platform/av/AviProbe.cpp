#include "AviProbe.h"

#include "support/TestMedia.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/rational.h>
}

#include <algorithm>
#include <filesystem>

bool ProbeFile(const std::string& path, std::vector<ProbedStream>& streams, std::string* error)
{
    AVFormatContext* context = nullptr;
    if (int code = avformat_open_input(&context, path.c_str(), nullptr, nullptr); code < 0) {
        char reason[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(code, reason, sizeof reason);
        *error = reason;
        return false;
    }
    streams.clear();
    bool ok = avformat_find_stream_info(context, nullptr) >= 0;
    for (unsigned i = 0; ok && i < context->nb_streams; ++i) {
        const AVCodecParameters* p = context->streams[i]->codecpar;
        ProbedStream s;
        const char* type = av_get_media_type_string(p->codec_type);
        s.type = type ? type : "unknown";
        s.codec = avcodec_get_name(p->codec_id);
        s.sampleRate = p->sample_rate;
        s.channels = p->ch_layout.nb_channels;
        s.width = p->width;
        s.height = p->height;
        streams.push_back(s);
    }
    AVPacket* packet = av_packet_alloc();
    while (ok && av_read_frame(context, packet) >= 0) {
        const AVStream* stream = context->streams[packet->stream_index];
        ProbedStream& s = streams[packet->stream_index];
        ++s.packets;
        if (packet->pts != AV_NOPTS_VALUE || packet->dts != AV_NOPTS_VALUE) {
            const int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            // The demuxer leaves the duration of a packet of whole codec frames unset, but
            // stamps such packets one tick apart.
            const int64_t ticks = packet->duration > 0 ? packet->duration : 1;
            s.durationSeconds =
                std::max(s.durationSeconds, (at + ticks) * av_q2d(stream->time_base));
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    if (!ok)
        *error = "no stream information";
    return ok;
}

std::string TestFolder(const std::string& name)
{
    // Below a folder of this run's own: test runs side by side never share files.
    static const testmedia::TempFolder run;
    const std::filesystem::path folder = std::filesystem::path(run.root()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}
