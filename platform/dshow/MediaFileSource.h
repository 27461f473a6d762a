#pragma once

#include "platform/av/MediaFile.h"
#include "platform/dshow/Graph.h"
#include "platform/dshow/SourceBase.h"

#include <atomic>
#include <string>

class CMediaFileSource;

// One stream of the file. A decodable video stream offers RGB24 bottom-up frames with a
// VIDEOINFOHEADER, a decodable audio stream 16-bit PCM with a WAVEFORMATEX; a stream
// without a decoder offers its compressed type, which no renderer takes. While connected
// and running, the pin's thread decodes the stream on a demuxer of its own and delivers
// each decoded buffer wrapped, without a copy: the sample is valid until Receive returns.
class CMediaFileStreamPin : public CStreamingOutputPin {
public:
    CMediaFileStreamPin(CMediaFileSource* filter, HRESULT* result, const av::StreamInfo& stream,
                        LPCWSTR name);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

    // Any thread: the start time of the last sample delivered.
    REFERENCE_TIME Position() const { return position_.load(); }

protected:
    HRESULT DoBufferProcessingLoop() override;

private:
    CMediaFileSource* source_;
    av::StreamInfo stream_;
    CMediaType type_;
    std::atomic<REFERENCE_TIME> position_{0};
};

// The source filter for media files (CLSID_MediaFileSource): one output pin per video or
// audio stream, in the file's order.
class CMediaFileSource : public CSource, public IFileSourceFilter, public IMediaSeeking {
public:
    CMediaFileSource();
    DECLARE_IUNKNOWN

    // VFW_E_NOT_FOUND for a missing file, VFW_E_UNKNOWN_FILE_TYPE for one that is no
    // media file, E_UNEXPECTED on a second Load.
    HRESULT Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) override;

    HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                         DWORD stopFlags) override;
    HRESULT GetDuration(LONGLONG* duration) override;
    HRESULT GetCurrentPosition(LONGLONG* position) override;

    // UTF-8; empty before Load.
    const std::string& Path() const { return path_; }

protected:
    void* GetInterface(REFIID iid) override;

private:
    std::string path_;
    REFERENCE_TIME duration_ = 0;
};
