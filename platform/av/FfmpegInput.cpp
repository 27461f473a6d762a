#include "platform/av/FfmpegInput.h"

#include "platform/av/FfmpegError.h"
#include "platform/win/Files.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace av {

namespace {

// AVI and QuickTime tags are four letters; a WAV format tag is a number, which has no
// four-character form and is reported as none.
std::string FourccText(std::uint32_t tag)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(tag >> (8 * i));
        if (!std::isprint(c))
            return "";
        text += static_cast<char>(c);
    }
    return text;
}

double ToSeconds(MediaTime time)
{
    return static_cast<double>(time) / kMediaTimePerSecond;
}

// The conversion answers the extremes for times it cannot represent (and passes them
// through as they are).
bool IsRepresentable(MediaTime time)
{
    return time != std::numeric_limits<MediaTime>::min() &&
           time != std::numeric_limits<MediaTime>::max();
}

StreamKind KindOf(AVMediaType type)
{
    switch (type) {
    case AVMEDIA_TYPE_VIDEO:
        return StreamKind::Video;
    case AVMEDIA_TYPE_AUDIO:
        return StreamKind::Audio;
    default:
        return StreamKind::Other;
    }
}

}  // namespace

InputFormatContextPtr OpenInputFile(const std::string& path, std::string_view who,
                                    std::string* error)
{
    AVFormatContext* raw = nullptr;
    const std::string what(who);
    if (!IsReadableFile(path.c_str())) {
        Fail(error, what + ": opening \"" + path + "\" failed: no file that can be read");
        return nullptr;
    }
    if (int code = avformat_open_input(&raw, ToNativePath(path.c_str()).c_str(), nullptr, nullptr);
        code < 0) {
        Fail(error, FfmpegErrorMessage(what + ": opening \"" + path + "\" failed", code));
        return nullptr;
    }
    InputFormatContextPtr input(raw);
    if (int code = avformat_find_stream_info(input.get(), nullptr); code < 0) {
        Fail(error,
             FfmpegErrorMessage(what + ": reading the streams of \"" + path + "\" failed", code));
        return nullptr;
    }
    if (input->nb_streams == 0) {
        Fail(error, what + ": \"" + path + "\" holds no stream");
        return nullptr;
    }
    return input;
}

StreamInfo DescribeStream(const AVFormatContext& input, int index)
{
    const AVStream& stream = *input.streams[index];
    const AVCodecParameters& codec = *stream.codecpar;
    StreamInfo info;
    info.index = index;
    // A picture attached to the file (an MP3's cover art) is no stream that plays.
    info.kind = stream.disposition & AV_DISPOSITION_ATTACHED_PIC ? StreamKind::Other
                                                                 : KindOf(codec.codec_type);
    if (codec.codec_id != AV_CODEC_ID_NONE)
        info.codec = avcodec_get_name(codec.codec_id);
    info.fourcc = FourccText(codec.codec_tag);
    info.decodable = avcodec_find_decoder(codec.codec_id) != nullptr;
    // Headers may state anything; a size or count below zero is as good as unknown.
    if (info.kind == StreamKind::Video) {
        info.width = std::max(codec.width, 0);
        info.height = std::max(codec.height, 0);
        if (stream.avg_frame_rate.num > 0 && stream.avg_frame_rate.den > 0)
            info.framesPerSecond = av_q2d(stream.avg_frame_rate);
    } else if (info.kind == StreamKind::Audio) {
        info.sampleRate = std::max(codec.sample_rate, 0);
        info.channels = std::max(codec.ch_layout.nb_channels, 0);
    }
    if (stream.start_time != AV_NOPTS_VALUE) {
        const MediaTime start = ToMediaTime(stream.start_time, stream.time_base);
        if (IsRepresentable(start))
            info.startSeconds = ToSeconds(start);
    }
    // Some demuxers (MP3 among them) know only the whole file's length.
    if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
        info.durationSeconds = DurationSeconds(stream.duration, stream.time_base);
    else if (input.duration != AV_NOPTS_VALUE && input.duration > 0)
        info.durationSeconds = DurationSeconds(input.duration, AV_TIME_BASE_Q);
    return info;
}

double DurationSeconds(std::int64_t ticks, AVRational timeBase)
{
    const MediaTime length = ToMediaTime(ticks, timeBase);
    return length > 0 && IsRepresentable(length) ? ToSeconds(length) : 0.0;
}

}  // namespace av
