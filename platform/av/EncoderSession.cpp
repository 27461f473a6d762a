#include "platform/av/EncoderSession.h"

#include "platform/av/FfmpegError.h"
#include "platform/av/StreamTime.h"

namespace av {

CodecContextPtr EncoderSession::Allocate(const std::string& friendlyName, EncoderCategory category,
                                         const EncoderSettings** settings, std::string* error)
{
    const EncoderSettings* row = FindEncoderSettings(friendlyName, category);
    if (!row) {
        Fail(error, "encoder: no compressor is called \"" + friendlyName + "\"");
        return nullptr;
    }
    const AVCodec* encoder = avcodec_find_encoder_by_name(row->codecName);
    if (!encoder) {
        Fail(error, std::string("encoder: the codec library lacks ") + row->codecName);
        return nullptr;
    }
    CodecContextPtr codec(avcodec_alloc_context3(encoder));
    if (!codec)
        Fail(error, "encoder: out of memory");
    *settings = row;
    return codec;
}

bool EncoderSession::Open(CodecContextPtr codec, AVDictionary** options, std::string* error)
{
    codec_ = std::move(codec);
    const std::string name = codec_->codec->name;
    if (int code = avcodec_open2(codec_.get(), codec_->codec, options); code < 0)
        return FfmpegFailure(error, "encoder: opening " + name + " failed", code);
    // An audio codec's time base is one over its sample rate, the unit of the padding.
    tickOffset_ = codec_->codec_type == AVMEDIA_TYPE_AUDIO ? codec_->initial_padding : 0;
    packet_.reset(av_packet_alloc());
    if (!packet_)
        return Fail(error, "encoder: out of memory");
    return true;
}

StreamFormatPtr EncoderSession::Format(StreamFormat::Kind kind, std::string* error) const
{
    CodecParametersPtr parameters(avcodec_parameters_alloc());
    if (!parameters) {
        Fail(error, "encoder: out of memory");
        return nullptr;
    }
    if (int code = avcodec_parameters_from_context(parameters.get(), codec_.get()); code < 0) {
        FfmpegFailure(error, "encoder: reading the stream parameters failed", code);
        return nullptr;
    }
    return StreamFormat::Make(kind, *parameters, codec_->time_base, error);
}

bool EncoderSession::Send(const AVFrame* frame, std::vector<EncodedPacket>& out, std::string* error)
{
    if (!frame) {
        if (flushed_)
            return true;
        flushed_ = true;
    } else if (flushed_) {
        return Fail(error, "encoder: a frame came after the end of the stream");
    }
    if (int code = avcodec_send_frame(codec_.get(), frame); code < 0)
        return FfmpegFailure(error, "encoder: sending a frame failed", code);
    return Receive(out, error);
}

bool EncoderSession::Receive(std::vector<EncodedPacket>& out, std::string* error)
{
    for (;;) {
        const int code = avcodec_receive_packet(codec_.get(), packet_.get());
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return true;
        if (code < 0)
            return FfmpegFailure(error, "encoder: receiving a packet failed", code);
        // packet_ time stamps are in the codec's time base.
        const std::int64_t start = packet_->pts + tickOffset_;
        const std::int64_t ticks = packet_->duration > 0 ? packet_->duration : 1;
        EncodedPacket packet;
        packet.data.assign(packet_->data, packet_->data + packet_->size);
        packet.startTime = ToMediaTime(start, codec_->time_base);
        packet.endTime = ToMediaTime(start + ticks, codec_->time_base);
        packet.keyFrame = (packet_->flags & AV_PKT_FLAG_KEY) != 0;
        out.push_back(std::move(packet));
        av_packet_unref(packet_.get());
    }
}

}  // namespace av
