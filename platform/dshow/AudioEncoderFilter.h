#pragma once

#include "platform/av/AudioEncoder.h"
#include "platform/dshow/EncoderFilter.h"

#include <memory>

inline constexpr CLSID CLSID_AudioEncoderFilter{
    0x5C1D2E43, 0x7A3B, 0x4F61, {0x9E, 0x2A, 0x31, 0x8C, 0x6D, 0x04, 0xB7, 0x15}};

// An audio compressor: takes interleaved 16-bit PCM of any rate and channel count
// (FORMAT_WaveFormatEx), gives the codec's packets.
class CAudioEncoderFilter : public CEncoderFilter {
public:
    explicit CAudioEncoderFilter(std::string friendlyName);

protected:
    bool AcceptsInput(const CMediaType& type) const override;
    bool Open(const CMediaType& input, CMediaType* output, av::StreamFormatPtr* format,
              std::string* error) override;
    void Close() override;
    bool Encode(const BYTE* data, long length, REFERENCE_TIME start,
                std::vector<av::EncodedPacket>& out, std::string* error) override;
    bool Flush(std::vector<av::EncodedPacket>& out, std::string* error) override;

private:
    // Under the base's codec lock.
    std::unique_ptr<av::AudioEncoder> encoder_;
};
