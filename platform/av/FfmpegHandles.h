#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace av {

// One owning alias per FFmpeg handle, each freed with the library's own function, so
// that objects holding several of them unwind in member order. Only files under
// platform/av include this header.
struct CodecContextFree {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct CodecParametersFree {
    void operator()(AVCodecParameters* p) const { avcodec_parameters_free(&p); }
};
struct FrameFree {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleContextFree {
    void operator()(SwsContext* p) const { sws_freeContext(p); }
};
struct ResampleContextFree {
    void operator()(SwrContext* p) const { swr_free(&p); }
};
struct AudioFifoFree {
    void operator()(AVAudioFifo* p) const { av_audio_fifo_free(p); }
};
// A demuxer opened with avformat_open_input; muxers are freed otherwise.
struct InputFormatContextFree {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct OutputFormatContextFree {
    void operator()(AVFormatContext* p) const { avformat_free_context(p); }
};
// A custom I/O context owns its buffer separately from the context itself.
struct IoContextFree {
    void operator()(AVIOContext* p) const
    {
        av_freep(&p->buffer);
        avio_context_free(&p);
    }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using CodecParametersPtr = std::unique_ptr<AVCodecParameters, CodecParametersFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using ScaleContextPtr = std::unique_ptr<SwsContext, ScaleContextFree>;
using ResampleContextPtr = std::unique_ptr<SwrContext, ResampleContextFree>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFree>;
using InputFormatContextPtr = std::unique_ptr<AVFormatContext, InputFormatContextFree>;
using OutputFormatContextPtr = std::unique_ptr<AVFormatContext, OutputFormatContextFree>;
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextFree>;

}  // namespace av
