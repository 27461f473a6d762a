#include "platform/av/EncoderTable.h"

#include "platform/text/NoCase.h"

namespace av {

namespace {

constexpr EncoderCategory V = EncoderCategory::Video;
constexpr EncoderCategory A = EncoderCategory::Audio;
constexpr AVPixelFormat kAny = AV_PIX_FMT_NONE;

// clang-format off
constexpr EncoderSettings kEncoders[] = {
    // name                              cat codec            pixels           q  crf key  rate  max  ch  bit rate
    {"Microsoft Video 1",                V, "msvideo1",       kAny,            0, 0,  0,   0,    0,    0, 0},
    {"Cinepak Codec by Radius",          V, "cinepak",        kAny,            0, 0,  0,   0,    0,    0, 0},
    {"MJPEG Compressor",                 V, "mjpeg",          AV_PIX_FMT_YUVJ420P, 3, 0, 0, 0,   0,    0, 0},
    {"Microsoft MPEG-4 Video Codec V2",  V, "msmpeg4v2",      AV_PIX_FMT_YUV420P, 4, 0, 5,  0,   0,    0, 0},
    {"Microsoft MPEG-4 Video Codec V3",  V, "msmpeg4",        AV_PIX_FMT_YUV420P, 4, 0, 5,  0,   0,    0, 0},
    {"MPEG-4 Part 2 Video",              V, "mpeg4",          AV_PIX_FMT_YUV420P, 4, 0, 5,  0,   0,    0, 0},
    {"H.264 Video",                      V, "libx264",        AV_PIX_FMT_YUV420P, 0, 23, 5, 0,   0,    0, 0},
    {"PCM",                              A, "pcm_s16le",      kAny,            0, 0,  0,   0,    0,    0, 0},
    {"IMA ADPCM",                        A, "adpcm_ima_wav",  kAny,            0, 0,  0,   0,    0,    2, 0},
    {"Microsoft ADPCM",                  A, "adpcm_ms",       kAny,            0, 0,  0,   0,    0,    2, 0},
    {"CCITT A-Law",                      A, "pcm_alaw",       kAny,            0, 0,  0,   0,    0,    0, 0},
    {"CCITT u-Law",                      A, "pcm_mulaw",      kAny,            0, 0,  0,   0,    0,    0, 0},
    {"GSM 6.10",                         A, "libgsm_ms",      kAny,            0, 0,  0,   8000, 0,    1, 0},
    {"MPEG Layer-3",                     A, "libmp3lame",     kAny,            0, 0,  0,   0,    0,    2, 64000},
    {"Windows Media Audio V2",           A, "wmav2",          kAny,            0, 0,  0,   0,    48000, 2, 64000},
};
// clang-format on

}  // namespace

std::span<const EncoderSettings> EncoderTable()
{
    return kEncoders;
}

const EncoderSettings* FindEncoderSettings(const std::string& name, EncoderCategory category)
{
    for (const EncoderSettings& row : kEncoders)
        if (row.category == category && EqualNoCase(name, row.friendlyName))
            return &row;
    return nullptr;
}

}  // namespace av
