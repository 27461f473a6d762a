#pragma once

#include "platform/av/EncodedPacket.h"
#include "platform/av/EncoderEntry.h"
#include "platform/av/EncoderTable.h"
#include "platform/av/FfmpegHandles.h"
#include "platform/av/StreamFormat.h"
#include "platform/av/StreamFormatPtr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace av {

// The codec half shared by the video and the audio encoder: finding the encoder of a
// table row, opening it, and the send/receive loop that turns frames into our packets.
// Not thread-safe: one thread drives one session.
class EncoderSession {
public:
    // Null codec context, with a message, when the row is unknown or its encoder is not
    // linked.
    static CodecContextPtr Allocate(const std::string& friendlyName, EncoderCategory category,
                                    const EncoderSettings** settings, std::string* error);

    // Takes an allocated, configured context and opens it.
    bool Open(CodecContextPtr codec, AVDictionary** options, std::string* error);

    AVCodecContext& codec() { return *codec_; }
    const AVCodecContext& codec() const { return *codec_; }

    // The opened codec's stream description, for the writer.
    StreamFormatPtr Format(StreamFormat::Kind kind, std::string* error) const;

    // Sends one frame (null: the end of the stream, once) and appends what became ready.
    bool Send(const AVFrame* frame, std::vector<EncodedPacket>& out, std::string* error);

private:
    bool Receive(std::vector<EncodedPacket>& out, std::string* error);

    CodecContextPtr codec_;
    PacketPtr packet_;
    // Added to every packet time stamp so that a codec's start padding (MP3's, say)
    // gives no negative times: the first packet starts where the first sample went in.
    std::int64_t tickOffset_ = 0;
    bool flushed_ = false;
};

}  // namespace av
