#include "platform/av/VideoEncoder.h"

#include "platform/av/EncoderSession.h"
#include "platform/av/FfmpegError.h"
#include "platform/av/StreamFormat.h"
#include "platform/av/StreamTime.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace av {

namespace {

class FfmpegVideoEncoder final : public VideoEncoder {
public:
    bool Open(const std::string& friendlyName, int width, int height, double framesPerSecond,
              std::string* error);

    StreamFormatPtr format() const override { return format_; }
    bool Encode(const std::uint8_t* frame, MediaTime startTime, std::vector<EncodedPacket>& out,
                std::string* error) override;
    bool Flush(std::vector<EncodedPacket>& out, std::string* error) override;

private:
    static void Configure(AVCodecContext& codec, const EncoderSettings& settings, int width,
                          int height, double framesPerSecond, AVDictionary** options);
    bool SetUpConversion(std::string* error);
    bool Convert(const std::uint8_t* frame, std::string* error);

    bool topDown_ = false;

    EncoderSession session_;
    ScaleContextPtr scaler_;
    FramePtr picture_;  // the codec's pixel format, reused for every frame
    StreamFormatPtr format_;
    std::int64_t lastTick_ = AV_NOPTS_VALUE;
};

AVPixelFormat ChoosePixelFormat(const AVCodec& encoder, const EncoderSettings& settings)
{
    if (settings.pixelFormat != AV_PIX_FMT_NONE)
        return settings.pixelFormat;
    return encoder.pix_fmts ? encoder.pix_fmts[0] : AV_PIX_FMT_YUV420P;
}

bool FfmpegVideoEncoder::Open(const std::string& friendlyName, int width, int height,
                              double framesPerSecond, std::string* error)
{
    if (width <= 0 || height == 0)
        return Fail(error, "video encoder: the frame size must be positive");
    topDown_ = height < 0;
    height = std::abs(height);
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond))
        return Fail(error, "video encoder: the frame rate must be positive");
    const EncoderSettings* settings = nullptr;
    CodecContextPtr codec =
        EncoderSession::Allocate(friendlyName, EncoderCategory::Video, &settings, error);
    if (!codec)
        return false;
    AVDictionary* options = nullptr;
    Configure(*codec, *settings, width, height, framesPerSecond, &options);
    const bool ok = session_.Open(std::move(codec), &options, error);
    av_dict_free(&options);
    if (!ok || !SetUpConversion(error))
        return false;
    format_ = session_.Format(StreamFormat::Kind::Video, error);
    return format_ != nullptr;
}

void FfmpegVideoEncoder::Configure(AVCodecContext& codec, const EncoderSettings& settings,
                                   int width, int height, double framesPerSecond,
                                   AVDictionary** options)
{
    // MPEG-4 limits the time base denominator to 16 bits; 29.97 becomes 30000/1001.
    const AVRational rate = av_d2q(framesPerSecond, 65535);
    codec.width = width;
    codec.height = height;
    codec.sample_aspect_ratio = {1, 1};
    codec.framerate = rate;
    codec.time_base = av_inv_q(rate);
    codec.pix_fmt = ChoosePixelFormat(*codec.codec, settings);
    // AVI stores no presentation times: frames must come out in the order they went in.
    codec.max_b_frames = 0;
    if (settings.keyFrameSeconds > 0)
        codec.gop_size =
            std::max(1, static_cast<int>(std::lround(framesPerSecond * settings.keyFrameSeconds)));
    if (settings.qscale > 0) {
        codec.flags |= AV_CODEC_FLAG_QSCALE;
        codec.global_quality = FF_QP2LAMBDA * settings.qscale;
    }
    if (settings.crf > 0)
        av_dict_set_int(options, "crf", settings.crf, 0);
    if (codec.pix_fmt == AV_PIX_FMT_YUVJ420P)
        codec.color_range = AVCOL_RANGE_JPEG;
}

bool FfmpegVideoEncoder::SetUpConversion(std::string* error)
{
    const AVCodecContext& codec = session_.codec();
    scaler_.reset(sws_getContext(codec.width, codec.height, AV_PIX_FMT_BGR24, codec.width,
                                 codec.height, codec.pix_fmt, SWS_BICUBIC, nullptr, nullptr,
                                 nullptr));
    if (!scaler_)
        return Fail(error, std::string("video encoder: no conversion from 24-bit bitmaps to ") +
                               av_get_pix_fmt_name(codec.pix_fmt));
    picture_.reset(av_frame_alloc());
    if (!picture_)
        return Fail(error, "video encoder: out of memory");
    picture_->format = codec.pix_fmt;
    picture_->width = codec.width;
    picture_->height = codec.height;
    if (int code = av_frame_get_buffer(picture_.get(), 0); code < 0)
        return FfmpegFailure(error, "video encoder: allocating a picture failed", code);
    return true;
}

bool FfmpegVideoEncoder::Convert(const std::uint8_t* frame, std::string* error)
{
    const AVCodecContext& codec = session_.codec();
    // Rows are padded to 4 bytes. A bottom-up bitmap starts at its last stored row (the
    // top of the picture) and walks backwards; a top-down one is read as it lies.
    const int stride = (codec.width * 3 + 3) & ~3;
    const std::ptrdiff_t top =
        topDown_ ? 0 : static_cast<std::ptrdiff_t>(codec.height - 1) * stride;
    const std::uint8_t* source[4] = {frame + top};
    const int sourceStride[4] = {topDown_ ? stride : -stride};
    // The codec may still hold the previous picture (reference frames).
    if (int code = av_frame_make_writable(picture_.get()); code < 0)
        return FfmpegFailure(error, "video encoder: preparing a picture failed", code);
    sws_scale(scaler_.get(), source, sourceStride, 0, codec.height, picture_->data,
              picture_->linesize);
    return true;
}

bool FfmpegVideoEncoder::Encode(const std::uint8_t* frame, MediaTime startTime,
                                std::vector<EncodedPacket>& out, std::string* error)
{
    if (!frame)
        return Fail(error, "video encoder: no frame");
    if (!Convert(frame, error))
        return false;
    // Ticks of the codec's time base (one per frame). Encoders refuse a time that does
    // not advance, so a frame stamped too early takes the next free tick.
    std::int64_t tick = ToStreamTicks(startTime, session_.codec().time_base);
    if (lastTick_ != AV_NOPTS_VALUE && tick <= lastTick_)
        tick = lastTick_ + 1;
    lastTick_ = tick;
    picture_->pts = tick;
    return session_.Send(picture_.get(), out, error);
}

bool FfmpegVideoEncoder::Flush(std::vector<EncodedPacket>& out, std::string* error)
{
    return session_.Send(nullptr, out, error);
}

}  // namespace

std::unique_ptr<VideoEncoder> VideoEncoder::Open(const std::string& friendlyName, int width,
                                                 int height, double framesPerSecond,
                                                 std::string* error)
{
    auto encoder = std::make_unique<FfmpegVideoEncoder>();
    if (!encoder->Open(friendlyName, width, height, framesPerSecond, error))
        return nullptr;
    return encoder;
}

}  // namespace av
