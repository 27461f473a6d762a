#pragma once

#include "platform/av/MediaFile.h"
#include "platform/dshow/SourceBase.h"

#include <atomic>
#include <string>
#include <string_view>

// What the media file source's failure reports begin with, its pins' included.
inline constexpr std::string_view kMediaFileSourceSubsystem = "media file source";

// One stream of the file. A decodable video stream offers RGB24 bottom-up frames with a
// VIDEOINFOHEADER, a decodable audio stream 16-bit PCM with a WAVEFORMATEX; a stream
// without a decoder offers its compressed type, which no renderer takes. While connected
// and running, the pin's thread decodes the stream on a demuxer of its own and delivers
// each decoded buffer wrapped, without a copy: the sample is valid until Receive returns.
class CMediaFileStreamPin : public CStreamingOutputPin {
public:
    // path: the file (UTF-8) whose stream this is.
    CMediaFileStreamPin(CSource* filter, HRESULT* result, const av::StreamInfo& stream,
                        std::string path, LPCWSTR name);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

    // Any thread: the start time of the last sample delivered.
    REFERENCE_TIME Position() const { return position_.load(); }

protected:
    HRESULT DoBufferProcessingLoop() override;

private:
    std::string path_;
    av::StreamInfo stream_;
    CMediaType type_;
    std::atomic<REFERENCE_TIME> position_{0};
};
