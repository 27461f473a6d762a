#include "platform/dshow/ColourConverter.h"

#include "platform/com/ComPtr.h"
#include "platform/dshow/Uuids.h"

#include <cstdlib>
#include <cstring>

namespace {

const VIDEOINFOHEADER* VideoInfo(const CMediaType& type)
{
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo ||
        !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER)) {
        return nullptr;
    }
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

long RowBytes(long width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

// One stored row of `width` pixels into blue, green, red; the padding stays as it was.
void ConvertRow(const BYTE* from, int bitsPerPixel, long width, BYTE* to)
{
    if (bitsPerPixel == 8) {
        for (long x = 0; x < width; ++x, to += 3) {
            to[0] = to[1] = to[2] = from[x];
        }
        return;
    }
    for (long x = 0; x < width; ++x, from += 4, to += 3)
        std::memcpy(to, from, 3);
}

}  // namespace

CColourConverter::CColourConverter()
    : CBaseFilter(nullptr, nullptr, CLSID_Colour), input_(this, nullptr), output_(this, nullptr)
{}

int CColourConverter::GetPinCount()
{
    return 2;
}

CBasePin* CColourConverter::GetPin(int index)
{
    if (index == 0)
        return &input_;
    if (index == 1)
        return &output_;
    return nullptr;
}

bool CColourConverter::AcceptsInput(const CMediaType& type)
{
    const VIDEOINFOHEADER* info = VideoInfo(type);
    if (!info)
        return false;
    const BITMAPINFOHEADER& bitmap = info->bmiHeader;
    return bitmap.biCompression == BI_RGB && bitmap.biWidth > 0 && bitmap.biHeight != 0 &&
           (bitmap.biBitCount == 8 || bitmap.biBitCount == 32);
}

bool CColourConverter::OutputTypeFor(const CMediaType& input, CMediaType* output)
{
    if (!output || !AcceptsInput(input))
        return false;
    VIDEOINFOHEADER info = *VideoInfo(input);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biClrUsed = 0;
    info.bmiHeader.biClrImportant = 0;
    info.bmiHeader.biSizeImage = GetBitmapSize(&info.bmiHeader);
    *output = CMediaType();
    output->SetType(&MEDIATYPE_Video);
    output->SetSubtype(&MEDIASUBTYPE_RGB24);
    output->SetFormatType(&FORMAT_VideoInfo);
    output->SetTemporalCompression(FALSE);
    output->SetSampleSize(info.bmiHeader.biSizeImage);
    return output->SetFormat(reinterpret_cast<const BYTE*>(&info), sizeof(info));
}

HRESULT CColourConverter::StreamError(HRESULT result)
{
    NotifyEvent(EC_ERRORABORT, result, 0);
    return result;
}

HRESULT CColourConverter::Receive(IMediaSample* sample)
{
    if (!output_.IsConnected())
        return S_OK;
    // Connections change only while stopped, so the input's type stays put meanwhile.
    const BITMAPINFOHEADER& bitmap = VideoInfo(input_.CurrentMediaType())->bmiHeader;
    const long width = bitmap.biWidth;
    const long rows = std::labs(bitmap.biHeight);
    const long fromStride = RowBytes(width, bitmap.biBitCount);
    const long toStride = RowBytes(width, 24);
    BYTE* from = nullptr;
    if (FAILED(sample->GetPointer(&from)) || !from ||
        sample->GetActualDataLength() < fromStride * rows) {
        return StreamError(E_FAIL);
    }
    ComPtr<IMediaSample> converted;
    const HRESULT hr = output_.GetDeliveryBuffer(converted.Out(), nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* to = nullptr;
    if (FAILED(converted->GetPointer(&to)) || converted->GetSize() < toStride * rows)
        return StreamError(E_FAIL);
    // Rows keep their order: a top-down input gives a top-down output.
    for (long y = 0; y < rows; ++y)
        ConvertRow(from + y * fromStride, bitmap.biBitCount, width, to + y * toStride);
    converted->SetActualDataLength(toStride * rows);
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT timed = sample->GetTime(&start, &stop);
    if (timed == S_OK)
        converted->SetTime(&start, &stop);
    else if (timed == VFW_S_NO_STOP_TIME)
        converted->SetTime(&start, nullptr);
    converted->SetSyncPoint(sample->IsSyncPoint() == S_OK);
    converted->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
    return output_.Deliver(converted.get());
}
