#include "platform/dshow/VideoEncoderFilter.h"

#include "platform/dshow/CompressedMediaType.h"
#include "platform/dshow/UncompressedTypes.h"

CVideoEncoderFilter::CVideoEncoderFilter(std::string friendlyName)
    : CEncoderFilter(CLSID_VideoEncoderFilter, std::move(friendlyName), "video encoder")
{}

bool CVideoEncoderFilter::AcceptsInput(const CMediaType& type) const
{
    return Rgb24VideoInfo(type) != nullptr;
}

bool CVideoEncoderFilter::Open(const CMediaType& input, CMediaType* output,
                               av::StreamFormatPtr* format, std::string* error)
{
    const VIDEOINFOHEADER* info = Rgb24VideoInfo(input);
    if (!info)
        return false;
    const BITMAPINFOHEADER& bitmap = info->bmiHeader;
    encoder_ = av::VideoEncoder::Open(FriendlyName(), bitmap.biWidth, bitmap.biHeight,
                                      FramesPerSecond(*info), error);
    if (!encoder_)
        return false;
    frameBytes_ = static_cast<long>(GetBitmapSize(&bitmap));
    *format = encoder_->format();
    const REFERENCE_TIME timePerFrame =
        info->AvgTimePerFrame > 0
            ? info->AvgTimePerFrame
            : static_cast<REFERENCE_TIME>(kUnitsPerSecond / kDefaultFramesPerSecond);
    return CompressedVideoType(format->get(), timePerFrame, output);
}

void CVideoEncoderFilter::Close()
{
    encoder_.reset();
}

bool CVideoEncoderFilter::Encode(const BYTE* data, long length, REFERENCE_TIME start,
                                 std::vector<av::EncodedPacket>& out, std::string* error)
{
    if (length < frameBytes_) {
        if (error)
            *error = "a sample holds less than one frame";
        return false;
    }
    return encoder_->Encode(data, start, out, error);
}

bool CVideoEncoderFilter::Flush(std::vector<av::EncodedPacket>& out, std::string* error)
{
    return encoder_->Flush(out, error);
}
