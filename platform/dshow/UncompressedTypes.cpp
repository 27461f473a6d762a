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

CMediaType UncompressedVideoType(int width, int height, int bitsPerPixel,
                                 REFERENCE_TIME timePerFrame)
{
    CMediaType type;
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return CMediaType();
    *info = VIDEOINFOHEADER{};
    info->AvgTimePerFrame = timePerFrame;
    BITMAPINFOHEADER& header = info->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biCompression = BI_RGB;
    header.biSizeImage = GetBitmapSize(&header);
    const GUID subtype = GetBitmapSubtype(&header);
    type.SetType(&MEDIATYPE_Video);
    type.SetSubtype(&subtype);
    type.SetFormatType(&FORMAT_VideoInfo);
    type.SetTemporalCompression(FALSE);
    type.SetSampleSize(header.biSizeImage);
    return type;
}

CMediaType Pcm16Type(int sampleRate, int channels)
{
    CMediaType type;
    auto* format = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    if (!format)
        return CMediaType();
    *format = WAVEFORMATEX{};
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = static_cast<WORD>(channels);
    format->nSamplesPerSec = static_cast<DWORD>(sampleRate);
    format->wBitsPerSample = 16;
    format->nBlockAlign = static_cast<WORD>(channels * 2);
    format->nAvgBytesPerSec = format->nSamplesPerSec * format->nBlockAlign;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetTemporalCompression(FALSE);
    type.SetSampleSize(format->nBlockAlign);
    return type;
}
