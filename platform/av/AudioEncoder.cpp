#include "platform/av/AudioEncoder.h"

#include "platform/av/EncoderSession.h"
#include "platform/av/FfmpegError.h"
#include "platform/av/StreamFormat.h"
#include "platform/av/StreamTime.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>
#include <climits>

namespace av {

namespace {

// Input is interleaved signed 16-bit PCM; everything after the resampler is in the
// codec's sample rate, format and channel layout.
class FfmpegAudioEncoder final : public AudioEncoder {
public:
    ~FfmpegAudioEncoder() override { av_channel_layout_uninit(&inputLayout_); }

    bool Open(const std::string& friendlyName, int sampleRate, int channels, std::string* error);

    StreamFormatPtr format() const override { return format_; }
    bool Encode(const std::uint8_t* pcm, std::size_t bytes, MediaTime startTime,
                std::vector<EncodedPacket>& out, std::string* error) override;
    bool Flush(std::vector<EncodedPacket>& out, std::string* error) override;

private:
    static void Configure(AVCodecContext& codec, const EncoderSettings& settings, int sampleRate,
                          int channels);
    bool SetUpConversion(int sampleRate, std::string* error);
    bool Resample(const std::uint8_t* pcm, int samples, std::string* error);
    bool SendFrames(bool final, std::vector<EncodedPacket>& out, std::string* error);

    EncoderSession session_;
    AVChannelLayout inputLayout_{};
    ResampleContextPtr resampler_;
    AudioFifoPtr fifo_;     // resampled sound not yet sent, in the codec's format
    FramePtr converted_;    // the resampler's output, grown as needed
    FramePtr frame_;        // one codec frame
    int frameSamples_ = 0;  // the codec's fixed frame size, 0 when it takes any size
    StreamFormatPtr format_;
    bool started_ = false;
    std::int64_t nextTick_ = 0;  // the next frame's time, in samples of the codec's rate
};

AVSampleFormat ChooseSampleFormat(const AVCodec& encoder)
{
    if (!encoder.sample_fmts)
        return AV_SAMPLE_FMT_S16;
    for (const AVSampleFormat* f = encoder.sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_S16)
            return *f;
    return encoder.sample_fmts[0];
}

int ChooseSampleRate(const AVCodec& encoder, const EncoderSettings& settings, int source)
{
    if (settings.sampleRate > 0)
        return settings.sampleRate;
    int rate = source;
    if (settings.maxSampleRate > 0)
        rate = std::min(rate, settings.maxSampleRate);
    if (!encoder.supported_samplerates)
        return rate;
    // The lowest listed rate that loses nothing, else the highest listed.
    int best = 0;
    int highest = 0;
    for (const int* r = encoder.supported_samplerates; *r; ++r) {
        highest = std::max(highest, *r);
        if (*r >= rate && (best == 0 || *r < best))
            best = *r;
    }
    return best ? best : highest;
}

// Gives frame fresh room for samples of the codec's format, rate and layout.
bool AllocateSound(AVFrame& frame, const AVCodecContext& codec, int samples, std::string* error)
{
    av_frame_unref(&frame);
    frame.format = codec.sample_fmt;
    frame.sample_rate = codec.sample_rate;
    frame.nb_samples = samples;
    if (int code = av_channel_layout_copy(&frame.ch_layout, &codec.ch_layout); code < 0)
        return FfmpegFailure(error, "audio encoder: out of memory", code);
    if (int code = av_frame_get_buffer(&frame, 0); code < 0)
        return FfmpegFailure(error, "audio encoder: allocating sound failed", code);
    return true;
}

void FfmpegAudioEncoder::Configure(AVCodecContext& codec, const EncoderSettings& settings,
                                   int sampleRate, int channels)
{
    const int outChannels =
        settings.maxChannels > 0 ? std::min(channels, settings.maxChannels) : channels;
    codec.sample_rate = ChooseSampleRate(*codec.codec, settings, sampleRate);
    codec.sample_fmt = ChooseSampleFormat(*codec.codec);
    av_channel_layout_default(&codec.ch_layout, outChannels);
    codec.time_base = AVRational{1, codec.sample_rate};
    if (settings.bitRatePerChannel > 0)
        codec.bit_rate = static_cast<std::int64_t>(settings.bitRatePerChannel) * outChannels;
}

bool FfmpegAudioEncoder::Open(const std::string& friendlyName, int sampleRate, int channels,
                              std::string* error)
{
    if (sampleRate <= 0 || channels <= 0)
        return Fail(error, "audio encoder: the sample rate and channel count must be positive");
    const EncoderSettings* settings = nullptr;
    CodecContextPtr codec =
        EncoderSession::Allocate(friendlyName, EncoderCategory::Audio, &settings, error);
    if (!codec)
        return false;
    Configure(*codec, *settings, sampleRate, channels);
    av_channel_layout_default(&inputLayout_, channels);
    if (!session_.Open(std::move(codec), nullptr, error) || !SetUpConversion(sampleRate, error))
        return false;
    const AVCodecContext& opened = session_.codec();
    const bool anySize = (opened.codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0;
    frameSamples_ = anySize ? 0 : opened.frame_size;
    format_ = session_.Format(StreamFormat::Kind::Audio, error);
    return format_ != nullptr;
}

bool FfmpegAudioEncoder::SetUpConversion(int sampleRate, std::string* error)
{
    AVCodecContext& codec = session_.codec();
    SwrContext* resampler = nullptr;
    if (int code =
            swr_alloc_set_opts2(&resampler, &codec.ch_layout, codec.sample_fmt, codec.sample_rate,
                                &inputLayout_, AV_SAMPLE_FMT_S16, sampleRate, 0, nullptr);
        code < 0)
        return FfmpegFailure(error, "audio encoder: setting up the resampler failed", code);
    resampler_.reset(resampler);
    if (int code = swr_init(resampler_.get()); code < 0)
        return FfmpegFailure(error, "audio encoder: starting the resampler failed", code);
    fifo_.reset(av_audio_fifo_alloc(codec.sample_fmt, codec.ch_layout.nb_channels, 4096));
    converted_.reset(av_frame_alloc());
    frame_.reset(av_frame_alloc());
    if (!fifo_ || !converted_ || !frame_)
        return Fail(error, "audio encoder: out of memory");
    return true;
}

// Appends the resampler's output for samples input frames (null pcm: what the resampler
// still holds) to the FIFO.
bool FfmpegAudioEncoder::Resample(const std::uint8_t* pcm, int samples, std::string* error)
{
    const AVCodecContext& codec = session_.codec();
    const int room = swr_get_out_samples(resampler_.get(), samples);
    if (room < 0)
        return FfmpegFailure(error, "audio encoder: resampling failed", room);
    if (room == 0)
        return true;
    if (converted_->nb_samples < room && !AllocateSound(*converted_, codec, room, error))
        return false;
    const std::uint8_t* input[1] = {pcm};
    const int made =
        swr_convert(resampler_.get(), converted_->data, room, pcm ? input : nullptr, samples);
    if (made < 0)
        return FfmpegFailure(error, "audio encoder: resampling failed", made);
    if (made > 0 &&
        av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(converted_->data), made) < made)
        return Fail(error, "audio encoder: out of memory");
    return true;
}

// Sends whole codec frames from the FIFO; final also sends the rest, as a short last
// frame where the codec takes one, else padded with silence.
bool FfmpegAudioEncoder::SendFrames(bool final, std::vector<EncodedPacket>& out, std::string* error)
{
    const AVCodecContext& codec = session_.codec();
    const bool shortLastFrame = (codec.codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
    for (;;) {
        const int queued = av_audio_fifo_size(fifo_.get());
        if (queued == 0 || (!final && frameSamples_ > 0 && queued < frameSamples_))
            return true;
        int samples = frameSamples_ > 0 ? std::min(queued, frameSamples_) : queued;
        const int frameLength = frameSamples_ > 0 && !shortLastFrame ? frameSamples_ : samples;
        if (!AllocateSound(*frame_, codec, frameLength, error))
            return false;
        samples = av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame_->data), samples);
        if (samples < 0)
            return FfmpegFailure(error, "audio encoder: reading queued sound failed", samples);
        if (samples < frameLength)
            av_samples_set_silence(frame_->data, samples, frameLength - samples,
                                   codec.ch_layout.nb_channels, codec.sample_fmt);
        // nextTick_ counts samples at the codec's rate, its time base.
        frame_->pts = nextTick_;
        nextTick_ += frameLength;
        if (!session_.Send(frame_.get(), out, error))
            return false;
    }
}

bool FfmpegAudioEncoder::Encode(const std::uint8_t* pcm, std::size_t bytes, MediaTime startTime,
                                std::vector<EncodedPacket>& out, std::string* error)
{
    const std::size_t frameBytes = 2 * static_cast<std::size_t>(inputLayout_.nb_channels);
    if (!pcm && bytes)
        return Fail(error, "audio encoder: no sound");
    if (bytes % frameBytes)
        return Fail(error, "audio encoder: the sound is not whole 16-bit sample frames");
    if (!started_) {
        nextTick_ = ToStreamTicks(startTime, session_.codec().time_base);
        started_ = true;
    }
    // The resampler counts in int: feed it in pieces it can take.
    const std::size_t pieceFrames = INT_MAX / 4;
    for (std::size_t done = 0; done < bytes;) {
        const std::size_t frames = std::min(pieceFrames, (bytes - done) / frameBytes);
        if (!Resample(pcm + done, static_cast<int>(frames), error) ||
            !SendFrames(false, out, error))
            return false;
        done += frames * frameBytes;
    }
    return true;
}

bool FfmpegAudioEncoder::Flush(std::vector<EncodedPacket>& out, std::string* error)
{
    return Resample(nullptr, 0, error) && SendFrames(true, out, error) &&
           session_.Send(nullptr, out, error);
}

}  // namespace

std::unique_ptr<AudioEncoder> AudioEncoder::Open(const std::string& friendlyName, int sampleRate,
                                                 int channels, std::string* error)
{
    auto encoder = std::make_unique<FfmpegAudioEncoder>();
    if (!encoder->Open(friendlyName, sampleRate, channels, error))
        return nullptr;
    return encoder;
}

}  // namespace av
