#include "platform/dshow/MediaFileStreamPin.h"

#include "platform/av/StreamDecoder.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/FailureReport.h"
#include "platform/dshow/UncompressedTypes.h"

#include <memory>
#include <new>
#include <string>
#include <utility>

namespace {

DWORD FourccValue(const std::string& fourcc)
{
    DWORD value = 0;
    for (std::size_t i = 0; i < 4 && i < fourcc.size(); ++i) {
        value |= static_cast<DWORD>(static_cast<unsigned char>(fourcc[i])) << (8 * i);
    }
    return value;
}

// Rows bottom-up, as the decoder gives them.
CMediaType VideoType(const av::StreamInfo& stream)
{
    const REFERENCE_TIME timePerFrame =
        stream.framesPerSecond > 0
            ? static_cast<REFERENCE_TIME>(kUnitsPerSecond / stream.framesPerSecond)
            : 0;
    return UncompressedVideoType(stream.width, stream.height, 24, timePerFrame);
}

CMediaType CompressedType(const av::StreamInfo& stream)
{
    CMediaType type;
    type.SetType(stream.kind == av::StreamKind::Video ? &MEDIATYPE_Video : &MEDIATYPE_Audio);
    const GUID subtype = MediaSubtypeFromFourcc(FourccValue(stream.fourcc));
    type.SetSubtype(&subtype);
    type.SetFormatType(&FORMAT_None);
    return type;
}

CMediaType StreamType(const av::StreamInfo& stream)
{
    if (!stream.decodable)
        return CompressedType(stream);
    return stream.kind == av::StreamKind::Video ? VideoType(stream)
                                                : Pcm16Type(stream.sampleRate, stream.channels);
}

}  // namespace

CMediaFileStreamPin::CMediaFileStreamPin(CSource* filter, HRESULT* result,
                                         const av::StreamInfo& stream, std::string path,
                                         LPCWSTR name)
    : CStreamingOutputPin(nullptr, result, filter, name), path_(std::move(path)), stream_(stream),
      type_(StreamType(stream))
{}

HRESULT CMediaFileStreamPin::CheckMediaType(const CMediaType* type)
{
    if (!stream_.decodable)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return *type == type_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CMediaFileStreamPin::GetMediaType(int position, CMediaType* type)
{
    if (!type)
        return E_POINTER;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = type_;
    return S_OK;
}

HRESULT CMediaFileStreamPin::DoBufferProcessingLoop()
{
    std::string error;
    std::unique_ptr<av::StreamDecoder> decoder =
        av::StreamDecoder::Open(path_, stream_.index, &error);
    if (!decoder) {
        ReportFailure(kMediaFileSourceSubsystem, error);
        EndStream(E_FAIL);
        return E_FAIL;
    }
    position_ = 0;
    // One wrapper for every sample: Receive borrows it, so it is free again on return.
    const auto sample = ComPtr<CMediaSample>::Share(
        new (std::nothrow) CMediaSample(static_cast<BYTE*>(nullptr), 0));
    if (!sample) {
        EndStream(E_OUTOFMEMORY);
        return E_OUTOFMEMORY;
    }
    HRESULT result = S_OK;
    while (!StopRequested()) {
        av::DecodedSample decoded;
        const av::StreamDecoder::Status status = decoder->Next(decoded, &error);
        if (status == av::StreamDecoder::Status::End) {
            EndStream(S_OK);
            break;
        }
        if (status == av::StreamDecoder::Status::Error) {
            ReportFailure(kMediaFileSourceSubsystem, error);
            result = E_FAIL;
            EndStream(result);
            break;
        }
        sample->Wrap(decoded.data, static_cast<long>(decoded.size));
        REFERENCE_TIME start = decoded.startTime;
        REFERENCE_TIME stop = decoded.endTime;
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        position_ = start;
        // A refused sample ends the stream without an error of its own (whoever refused
        // it reported why); end of stream still goes down so that the graph completes.
        if (Deliver(sample.get()) != S_OK) {
            EndStream(S_OK);
            break;
        }
    }
    return result;
}
