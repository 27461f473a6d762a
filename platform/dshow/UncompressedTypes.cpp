#include "platform/dshow/UncompressedTypes.h"

const VIDEOINFOHEADER* Rgb24VideoInfo(const CMediaType& type)
{
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB24 ||
        type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
        type.cbFormat < sizeof(VIDEOINFOHEADER)) {
        return nullptr;
    }
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    const BITMAPINFOHEADER& bitmap = info->bmiHeader;
    if (bitmap.biBitCount != 24 || bitmap.biCompression != BI_RGB || bitmap.biWidth <= 0 ||
        bitmap.biHeight == 0) {
        return nullptr;
    }
    return info;
}

double FramesPerSecond(const VIDEOINFOHEADER& info)
{
    if (info.AvgTimePerFrame <= 0)
        return kDefaultFramesPerSecond;
    return static_cast<double>(kUnitsPerSecond) / static_cast<double>(info.AvgTimePerFrame);
}

const WAVEFORMATEX* Pcm16Format(const CMediaType& type)
{
    if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM ||
        type.formattype != FORMAT_WaveFormatEx || !type.pbFormat ||
        type.cbFormat < sizeof(WAVEFORMATEX) - sizeof(WORD)) {
        return nullptr;
    }
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
    if (wave->wFormatTag != WAVE_FORMAT_PCM || wave->wBitsPerSample != 16 || wave->nChannels == 0 ||
        wave->nSamplesPerSec == 0) {
        return nullptr;
    }
    return wave;
}
