#include "platform/av/StreamDecoder.h"

#include "platform/av/FfmpegError.h"
#include "platform/av/FfmpegHandles.h"
#include "platform/av/FfmpegInput.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

#include <vector>

namespace av {

namespace {

// Larger pictures are refused before anything is allocated for them: no template or
// user video comes near this, and a broken header claiming one must not cost gigabytes.
constexpr int kMaxFrameSide = 16384;

// sws_scale may write a little past the last pixel of a row with its vector code; the
// slack keeps that inside the buffer when the stored first row is the last one written.
constexpr std::size_t kScalerSlack = 64;

int DibStride(int width)
{
    return (width * 3 + 3) & ~3;
}

// An owned copy of a channel layout, freed with the layout's own function.
class ChannelLayout {
public:
    ChannelLayout() = default;
    ChannelLayout(const ChannelLayout&) = delete;
    ChannelLayout& operator=(const ChannelLayout&) = delete;
    ~ChannelLayout() { av_channel_layout_uninit(&layout_); }

    // A layout whose channel order is unknown becomes the default order for its count,
    // which libswresample can mix; false when out of memory.
    bool Assign(const AVChannelLayout& from)
    {
        av_channel_layout_uninit(&layout_);
        if (from.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&layout_, from.nb_channels);
            return true;
        }
        return av_channel_layout_copy(&layout_, &from) >= 0;
    }
    bool Equals(const AVChannelLayout& other) const
    {
        return av_channel_layout_compare(&layout_, &other) == 0;
    }
    // Not const: swr_alloc_set_opts2 takes its layouts by plain pointer.
    AVChannelLayout* get() { return &layout_; }

private:
    AVChannelLayout layout_{};
};

class FfmpegStreamDecoder final : public StreamDecoder {
public:
    bool Open(const std::string& path, int streamIndex, std::string* error);

    const StreamInfo& info() const override { return info_; }
    Status Next(DecodedSample& sample, std::string* error) override;

private:
    enum class Step { Frame, Again, Drained, Error };

    bool SelectStream(int streamIndex, std::string* error);
    bool OpenCodec(std::string* error);
    bool PrepareVideo(std::string* error);
    bool PrepareAudio(std::string* error);

    Step ReceiveFrame(std::string* error);
    Step FeedDecoder(std::string* error);
    bool ConvertVideo(DecodedSample& sample, std::string* error);
    bool ConvertAudio(DecodedSample& sample, std::string* error);
    bool UpdateResampler(std::string* error);
    bool FlushResampler(DecodedSample& sample);
    void StampTimes(DecodedSample& sample, std::int64_t stamp, MediaTime duration);

    InputFormatContextPtr input_;
    AVStream* stream_ = nullptr;  // owned by input_
    CodecContextPtr codec_;
    PacketPtr packet_;
    FramePtr frame_;
    StreamInfo info_;
    bool inputEnded_ = false;    // the decoder has been sent its drain packet
    bool decoderEnded_ = false;  // the decoder has given its last frame
    MediaTime nextStart_ = 0;    // our time; where a sample without a time stamp begins

    // Video: one bottom-up BGR bitmap that every frame is scaled straight into. The
    // scaler is remembered by the source's size and format ourselves: libswscale renames
    // full-range formats inside its context, so its own cache would rebuild on every
    // MJPEG frame.
    ScaleContextPtr scaler_;
    int scalerWidth_ = 0;
    int scalerHeight_ = 0;
    int scalerFormat_ = AV_PIX_FMT_NONE;
    std::vector<std::uint8_t> pixels_;

    // Audio: interleaved s16 at the stream's rate; the resampler is rebuilt when the
    // decoded format changes mid-stream.
    ResampleContextPtr resampler_;
    ChannelLayout outLayout_;
    ChannelLayout inLayout_;
    int inFormat_ = AV_SAMPLE_FMT_NONE;
    int inRate_ = 0;
    std::vector<std::uint8_t> sound_;
};

bool FfmpegStreamDecoder::Open(const std::string& path, int streamIndex, std::string* error)
{
    input_ = OpenInputFile(path, "decoder", error);
    if (!input_)
        return false;
    if (!SelectStream(streamIndex, error) || !OpenCodec(error))
        return false;
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_)
        return Fail(error, "decoder: out of memory");
    return info_.kind == StreamKind::Video ? PrepareVideo(error) : PrepareAudio(error);
}

bool FfmpegStreamDecoder::SelectStream(int streamIndex, std::string* error)
{
    if (streamIndex < 0 || streamIndex >= static_cast<int>(input_->nb_streams))
        return Fail(error, "decoder: the file has no stream " + std::to_string(streamIndex));
    info_ = DescribeStream(*input_, streamIndex);
    if (info_.kind == StreamKind::Other)
        return Fail(error, "decoder: stream " + std::to_string(streamIndex) +
                               " is neither video nor audio");
    if (!info_.decodable)
        return Fail(error, "decoder: no decoder for codec \"" + info_.codec + "\"");
    stream_ = input_->streams[streamIndex];
    // Every stream has a demuxer of its own, so the others' packets are never wanted.
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex)
            input_->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
}

bool FfmpegStreamDecoder::OpenCodec(std::string* error)
{
    const AVCodec* decoder = avcodec_find_decoder(stream_->codecpar->codec_id);
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!codec_)
        return Fail(error, "decoder: out of memory");
    if (int code = avcodec_parameters_to_context(codec_.get(), stream_->codecpar); code < 0)
        return Fail(error,
                    FfmpegErrorMessage("decoder: copying the stream parameters failed", code));
    codec_->pkt_timebase = stream_->time_base;
    codec_->max_pixels = static_cast<std::int64_t>(kMaxFrameSide) * kMaxFrameSide;
    if (int code = avcodec_open2(codec_.get(), decoder, nullptr); code < 0)
        return Fail(error, FfmpegErrorMessage(
                               "decoder: opening codec \"" + info_.codec + "\" failed", code));
    return true;
}

bool FfmpegStreamDecoder::PrepareVideo(std::string* error)
{
    if (info_.width <= 0 || info_.height <= 0)
        return Fail(error, "decoder: the video stream has no frame size");
    if (info_.width > kMaxFrameSide || info_.height > kMaxFrameSide)
        return Fail(error, "decoder: frame size " + std::to_string(info_.width) + " x " +
                               std::to_string(info_.height) + " is larger than " +
                               std::to_string(kMaxFrameSide) + " in a dimension");
    pixels_.assign(static_cast<std::size_t>(DibStride(info_.width)) * info_.height + kScalerSlack,
                   0);
    return true;
}

bool FfmpegStreamDecoder::PrepareAudio(std::string* error)
{
    if (info_.sampleRate <= 0 || info_.channels <= 0)
        return Fail(error, "decoder: the audio stream has no sample rate or channel count");
    if (!outLayout_.Assign(stream_->codecpar->ch_layout))
        return Fail(error, "decoder: out of memory");
    return true;
}

StreamDecoder::Status FfmpegStreamDecoder::Next(DecodedSample& sample, std::string* error)
{
    while (!decoderEnded_) {
        switch (ReceiveFrame(error)) {
        case Step::Frame: {
            const bool converted = info_.kind == StreamKind::Video ? ConvertVideo(sample, error)
                                                                   : ConvertAudio(sample, error);
            av_frame_unref(frame_.get());
            if (!converted)
                return Status::Error;
            if (sample.sampleFrames > 0)
                return Status::Sample;
            break;  // the resampler kept every sample of this frame back
        }
        case Step::Again:
            switch (FeedDecoder(error)) {
            case Step::Error:
                return Status::Error;
            case Step::Drained:
                decoderEnded_ = true;  // it wants more input after the drain packet
                break;
            default:
                break;
            }
            break;
        case Step::Drained:
            decoderEnded_ = true;
            break;
        case Step::Error:
            return Status::Error;
        }
    }
    if (info_.kind == StreamKind::Audio && FlushResampler(sample))
        return Status::Sample;
    return Status::End;
}

FfmpegStreamDecoder::Step FfmpegStreamDecoder::ReceiveFrame(std::string* error)
{
    for (;;) {
        const int code = avcodec_receive_frame(codec_.get(), frame_.get());
        if (code >= 0)
            return Step::Frame;
        if (code == AVERROR(EAGAIN))
            return Step::Again;
        if (code == AVERROR_EOF)
            return Step::Drained;
        // A damaged frame is dropped and decoding goes on with the next one.
        if (code == AVERROR_INVALIDDATA)
            continue;
        Fail(error, FfmpegErrorMessage("decoder: decoding a frame failed", code));
        return Step::Error;
    }
}

FfmpegStreamDecoder::Step FfmpegStreamDecoder::FeedDecoder(std::string* error)
{
    if (inputEnded_)
        return Step::Drained;
    for (;;) {
        const int read = av_read_frame(input_.get(), packet_.get());
        // The end of the file, or a read error on a truncated one, drains the decoder:
        // what was decoded so far stays valid output.
        if (read < 0) {
            inputEnded_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            return Step::Again;
        }
        if (packet_->stream_index != stream_->index) {
            av_packet_unref(packet_.get());
            continue;
        }
        const int code = avcodec_send_packet(codec_.get(), packet_.get());
        av_packet_unref(packet_.get());
        // A packet the decoder cannot make sense of is skipped; the next one may be fine.
        if (code >= 0 || code == AVERROR_INVALIDDATA || code == AVERROR(EAGAIN))
            return Step::Again;
        Fail(error, FfmpegErrorMessage("decoder: decoding a packet failed", code));
        return Step::Error;
    }
}

bool FfmpegStreamDecoder::ConvertVideo(DecodedSample& sample, std::string* error)
{
    const AVFrame& frame = *frame_;
    const int width = info_.width;
    const int height = info_.height;
    // A frame of another size than the stream's is scaled to it: the bitmap's layout is
    // fixed for the decoder's life.
    if (!scaler_ || frame.width != scalerWidth_ || frame.height != scalerHeight_ ||
        frame.format != scalerFormat_) {
        scaler_.reset(sws_getContext(frame.width, frame.height,
                                     static_cast<AVPixelFormat>(frame.format), width, height,
                                     AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr));
        scalerWidth_ = frame.width;
        scalerHeight_ = frame.height;
        scalerFormat_ = frame.format;
    }
    if (!scaler_) {
        const char* name = av_get_pix_fmt_name(static_cast<AVPixelFormat>(frame.format));
        return Fail(error, std::string("decoder: no conversion from pixel format \"") +
                               (name ? name : "unknown") + "\" to BGR");
    }
    // Bottom-up: the picture's top line goes into the last stored row, and each next line
    // one row lower in memory.
    const int stride = DibStride(width);
    std::uint8_t* lastRow = pixels_.data() + static_cast<std::size_t>(height - 1) * stride;
    std::uint8_t* destination[4] = {lastRow, nullptr, nullptr, nullptr};
    const int destinationStride[4] = {-stride, 0, 0, 0};
    sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, destination,
              destinationStride);

    sample.data = pixels_.data();
    sample.size = static_cast<std::size_t>(stride) * height;
    sample.sampleFrames = 1;
    MediaTime duration = 0;
    if (frame.pkt_duration > 0)
        duration = ToMediaTime(frame.pkt_duration, stream_->time_base);
    else if (stream_->avg_frame_rate.num > 0 && stream_->avg_frame_rate.den > 0)
        duration = ToMediaTime(1, av_inv_q(stream_->avg_frame_rate));
    StampTimes(sample, frame.best_effort_timestamp, duration);
    return true;
}

bool FfmpegStreamDecoder::UpdateResampler(std::string* error)
{
    const AVFrame& frame = *frame_;
    if (resampler_ && frame.format == inFormat_ && frame.sample_rate == inRate_ &&
        inLayout_.Equals(frame.ch_layout))
        return true;
    ChannelLayout layout;
    if (!layout.Assign(frame.ch_layout))
        return Fail(error, "decoder: out of memory");
    SwrContext* raw = nullptr;
    int code = swr_alloc_set_opts2(&raw, outLayout_.get(), AV_SAMPLE_FMT_S16, info_.sampleRate,
                                   layout.get(), static_cast<AVSampleFormat>(frame.format),
                                   frame.sample_rate, 0, nullptr);
    ResampleContextPtr resampler(raw);
    if (code >= 0)
        code = swr_init(resampler.get());
    if (code < 0)
        return Fail(error,
                    FfmpegErrorMessage("decoder: setting up the audio conversion failed", code));
    // The old resampler's delayed samples are given up: a format change mid-stream is
    // a splice, not a continuation.
    resampler_ = std::move(resampler);
    inLayout_.Assign(frame.ch_layout);
    inFormat_ = frame.format;
    inRate_ = frame.sample_rate;
    return true;
}

bool FfmpegStreamDecoder::ConvertAudio(DecodedSample& sample, std::string* error)
{
    if (!UpdateResampler(error))
        return false;
    const int capacity = swr_get_out_samples(resampler_.get(), frame_->nb_samples);
    if (capacity < 0)
        return Fail(error,
                    FfmpegErrorMessage("decoder: sizing the audio conversion failed", capacity));
    sound_.resize(static_cast<std::size_t>(capacity) * info_.channels * 2);
    std::uint8_t* destination[1] = {sound_.data()};
    const int converted =
        swr_convert(resampler_.get(), destination, capacity,
                    const_cast<const std::uint8_t**>(frame_->extended_data), frame_->nb_samples);
    if (converted < 0)
        return Fail(error, FfmpegErrorMessage("decoder: converting audio failed", converted));
    sample.data = sound_.data();
    sample.size = static_cast<std::size_t>(converted) * info_.channels * 2;
    sample.sampleFrames = converted;
    StampTimes(sample, frame_->best_effort_timestamp,
               ToMediaTime(converted, AVRational{1, info_.sampleRate}));
    return true;
}

bool FfmpegStreamDecoder::FlushResampler(DecodedSample& sample)
{
    if (!resampler_)
        return false;
    const int capacity = swr_get_out_samples(resampler_.get(), 0);
    if (capacity <= 0)
        return false;
    sound_.resize(static_cast<std::size_t>(capacity) * info_.channels * 2);
    std::uint8_t* destination[1] = {sound_.data()};
    const int converted = swr_convert(resampler_.get(), destination, capacity, nullptr, 0);
    if (converted <= 0)
        return false;
    sample.data = sound_.data();
    sample.size = static_cast<std::size_t>(converted) * info_.channels * 2;
    sample.sampleFrames = converted;
    StampTimes(sample, AV_NOPTS_VALUE, ToMediaTime(converted, AVRational{1, info_.sampleRate}));
    return true;
}

// `stamp` (the frame's best-effort time stamp) and the stream's start_time are in the
// stream's time base; `duration` and the sample's times are in ours, from the stream's
// start. A sample without a stamp follows on from the one before.
void FfmpegStreamDecoder::StampTimes(DecodedSample& sample, std::int64_t stamp, MediaTime duration)
{
    if (stamp != AV_NOPTS_VALUE) {
        const std::int64_t origin = stream_->start_time != AV_NOPTS_VALUE ? stream_->start_time : 0;
        sample.startTime = ToMediaTime(stamp - origin, stream_->time_base);
    } else {
        sample.startTime = nextStart_;
    }
    sample.endTime = sample.startTime + duration;
    nextStart_ = sample.endTime;
}

}  // namespace

std::unique_ptr<StreamDecoder> StreamDecoder::Open(const std::string& path, int streamIndex,
                                                   std::string* error)
{
    auto decoder = std::make_unique<FfmpegStreamDecoder>();
    if (!decoder->Open(path, streamIndex, error))
        return nullptr;
    return decoder;
}

}  // namespace av
