#pragma once

#include "platform/av/FfmpegHandles.h"
#include "platform/av/StreamFormatPtr.h"

#include <string>

namespace av {

// How one stream is stored: the codec parameters the muxer needs and the time base the
// stream's packets are stamped in. Immutable once made; shared between the encoder that
// made it and the writer.
class StreamFormat {
public:
    enum class Kind { Video, Audio, Midi };

    // Copies parameters. Null, with a message, when the copy cannot be made.
    static StreamFormatPtr Make(Kind kind, const AVCodecParameters& parameters, AVRational timeBase,
                                std::string* error);

    StreamFormat(Kind kind, CodecParametersPtr parameters, AVRational timeBase);

    Kind kind() const { return kind_; }
    const AVCodecParameters& parameters() const { return *parameters_; }
    AVRational timeBase() const { return timeBase_; }

private:
    Kind kind_;
    CodecParametersPtr parameters_;
    AVRational timeBase_;
};

}  // namespace av
