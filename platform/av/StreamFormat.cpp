#include "platform/av/StreamFormat.h"

#include "platform/av/FfmpegError.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <cstdint>

namespace av {

StreamFormatPtr StreamFormat::Make(Kind kind, const AVCodecParameters& parameters,
                                   AVRational timeBase, std::string* error)
{
    CodecParametersPtr copy(avcodec_parameters_alloc());
    if (!copy) {
        Fail(error, "stream format: out of memory");
        return nullptr;
    }
    if (int code = avcodec_parameters_copy(copy.get(), &parameters); code < 0) {
        FfmpegFailure(error, "stream format: copying the codec parameters failed", code);
        return nullptr;
    }
    return std::make_shared<StreamFormat>(kind, std::move(copy), timeBase);
}

StreamFormat::StreamFormat(Kind kind, CodecParametersPtr parameters, AVRational timeBase)
    : kind_(kind), parameters_(std::move(parameters)), timeBase_(timeBase)
{}

StreamFormatPtr RawVideoFormat(int width, int height, double framesPerSecond)
{
    if (width <= 0 || height <= 0 || !(framesPerSecond > 0))
        return nullptr;
    AVCodecParameters parameters{};
    parameters.codec_type = AVMEDIA_TYPE_VIDEO;
    parameters.codec_id = AV_CODEC_ID_RAWVIDEO;
    parameters.format = AV_PIX_FMT_BGR24;
    parameters.bits_per_coded_sample = 24;
    parameters.width = width;
    parameters.height = height;
    parameters.sample_aspect_ratio = {1, 1};
    // Frames are one tick of the time base apart: one over the frame rate.
    const AVRational timeBase = av_inv_q(av_d2q(framesPerSecond, 65535));
    return StreamFormat::Make(StreamFormat::Kind::Video, parameters, timeBase, nullptr);
}

StreamFormatPtr PcmAudioFormat(int sampleRate, int channels)
{
    if (sampleRate <= 0 || channels <= 0)
        return nullptr;
    AVCodecParameters parameters{};
    parameters.codec_type = AVMEDIA_TYPE_AUDIO;
    parameters.codec_id = AV_CODEC_ID_PCM_S16LE;
    parameters.format = AV_SAMPLE_FMT_S16;
    parameters.sample_rate = sampleRate;
    av_channel_layout_default(&parameters.ch_layout, channels);
    parameters.bits_per_coded_sample = 16;
    parameters.block_align = 2 * channels;
    parameters.bit_rate = static_cast<std::int64_t>(sampleRate) * channels * 16;
    StreamFormatPtr format = StreamFormat::Make(StreamFormat::Kind::Audio, parameters,
                                                AVRational{1, sampleRate}, nullptr);
    av_channel_layout_uninit(&parameters.ch_layout);
    return format;
}

StreamFormatPtr MidiFormat()
{
    AVCodecParameters parameters{};
    parameters.codec_type = AVMEDIA_TYPE_DATA;
    parameters.codec_id = AV_CODEC_ID_NONE;
    // The muxer stores a non-audio stream as one chunk per tick and fills gaps with
    // empty chunks, so the tick is coarse enough to keep silence cheap (10 ms) yet fine
    // enough for a played note.
    return StreamFormat::Make(StreamFormat::Kind::Midi, parameters, AVRational{1, 100}, nullptr);
}

}  // namespace av
