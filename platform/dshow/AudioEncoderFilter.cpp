#include "platform/dshow/AudioEncoderFilter.h"

#include "platform/dshow/CompressedMediaType.h"
#include "platform/dshow/UncompressedTypes.h"

CAudioEncoderFilter::CAudioEncoderFilter(std::string friendlyName)
    : CEncoderFilter(CLSID_AudioEncoderFilter, std::move(friendlyName), "audio encoder")
{}

bool CAudioEncoderFilter::AcceptsInput(const CMediaType& type) const
{
    return Pcm16Format(type) != nullptr;
}

bool CAudioEncoderFilter::Open(const CMediaType& input, CMediaType* output,
                               av::StreamFormatPtr* format, std::string* error)
{
    const WAVEFORMATEX* wave = Pcm16Format(input);
    if (!wave)
        return false;
    encoder_ = av::AudioEncoder::Open(FriendlyName(), static_cast<int>(wave->nSamplesPerSec),
                                      wave->nChannels, error);
    if (!encoder_)
        return false;
    *format = encoder_->format();
    return CompressedAudioType(format->get(), output);
}

void CAudioEncoderFilter::Close()
{
    encoder_.reset();
}

bool CAudioEncoderFilter::Encode(const BYTE* data, long length, REFERENCE_TIME start,
                                 std::vector<av::EncodedPacket>& out, std::string* error)
{
    return encoder_->Encode(data, static_cast<std::size_t>(length), start, out, error);
}

bool CAudioEncoderFilter::Flush(std::vector<av::EncodedPacket>& out, std::string* error)
{
    return encoder_->Flush(out, error);
}
