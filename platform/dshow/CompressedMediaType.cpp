#include "platform/dshow/CompressedMediaType.h"

#include "platform/av/StreamFormat.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstring>

namespace {

// The code an AVI file would carry for the codec: the encoder's own when it set one,
// else the muxer's table entry.
unsigned int AviTag(const AVCodecParameters& parameters, const AVCodecTag* const* tables)
{
    if (parameters.codec_tag)
        return parameters.codec_tag;
    return av_codec_get_tag(tables, parameters.codec_id);
}

}  // namespace

bool CompressedVideoType(const av::StreamFormat* format, REFERENCE_TIME timePerFrame,
                         CMediaType* type)
{
    if (!format)
        return false;
    const AVCodecParameters& parameters = format->parameters();
    const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), nullptr};
    const DWORD fourcc = AviTag(parameters, tables);
    *type = CMediaType();
    type->SetType(&MEDIATYPE_Video);
    const GUID subtype = MediaSubtypeFromFourcc(fourcc);
    type->SetSubtype(&subtype);
    type->SetFormatType(&FORMAT_VideoInfo);
    type->SetTemporalCompression(TRUE);
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type->AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return false;
    std::memset(info, 0, sizeof *info);
    info->rcSource = RECT{0, 0, parameters.width, parameters.height};
    info->rcTarget = info->rcSource;
    info->dwBitRate = static_cast<DWORD>(parameters.bit_rate);
    info->AvgTimePerFrame = timePerFrame;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = parameters.width;
    info->bmiHeader.biHeight = parameters.height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = fourcc;
    info->bmiHeader.biSizeImage = GetBitmapSize(&info->bmiHeader);
    return true;
}

bool CompressedAudioType(const av::StreamFormat* format, CMediaType* type)
{
    if (!format)
        return false;
    const AVCodecParameters& parameters = format->parameters();
    const AVCodecTag* const tables[] = {avformat_get_riff_audio_tags(), nullptr};
    *type = CMediaType();
    type->SetType(&MEDIATYPE_Audio);
    const GUID subtype = MediaSubtypeFromFourcc(AviTag(parameters, tables));
    type->SetSubtype(&subtype);
    type->SetFormatType(&FORMAT_WaveFormatEx);
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type->AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    if (!wave)
        return false;
    std::memset(wave, 0, sizeof *wave);
    wave->wFormatTag = static_cast<WORD>(AviTag(parameters, tables));
    wave->nChannels = static_cast<WORD>(parameters.ch_layout.nb_channels);
    wave->nSamplesPerSec = static_cast<DWORD>(parameters.sample_rate);
    wave->nAvgBytesPerSec = static_cast<DWORD>(parameters.bit_rate / 8);
    wave->nBlockAlign = static_cast<WORD>(parameters.block_align > 0 ? parameters.block_align : 1);
    wave->wBitsPerSample = static_cast<WORD>(parameters.bits_per_coded_sample);
    return true;
}
