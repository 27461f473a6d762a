#include "platform/dshow/MediaFileSource.h"

#include "platform/av/StreamDecoder.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/FailureReport.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "platform/win/Files.h"

#include <cmath>
#include <memory>

namespace {

constexpr std::string_view kSubsystem = "media file source";

DWORD FourccValue(const std::string& fourcc)
{
    DWORD value = 0;
    for (std::size_t i = 0; i < 4 && i < fourcc.size(); ++i) {
        value |= static_cast<DWORD>(static_cast<unsigned char>(fourcc[i])) << (8 * i);
    }
    return value;
}

CMediaType VideoType(const av::StreamInfo& stream)
{
    CMediaType type;
    type.SetType(&MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_RGB24);
    type.SetFormatType(&FORMAT_VideoInfo);
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return CMediaType();
    *info = VIDEOINFOHEADER{};
    if (stream.framesPerSecond > 0) {
        info->AvgTimePerFrame =
            static_cast<REFERENCE_TIME>(kUnitsPerSecond / stream.framesPerSecond);
    }
    BITMAPINFOHEADER& header = info->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = stream.width;
    header.biHeight = stream.height;  // positive: rows bottom-up, as the decoder gives them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = GetBitmapSize(&header);
    type.SetTemporalCompression(FALSE);
    type.SetSampleSize(header.biSizeImage);
    return type;
}

CMediaType AudioType(const av::StreamInfo& stream)
{
    CMediaType type;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    auto* format = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    if (!format)
        return CMediaType();
    *format = WAVEFORMATEX{};
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = static_cast<WORD>(stream.channels);
    format->nSamplesPerSec = static_cast<DWORD>(stream.sampleRate);
    format->wBitsPerSample = 16;
    format->nBlockAlign = static_cast<WORD>(stream.channels * 2);
    format->nAvgBytesPerSec = format->nSamplesPerSec * format->nBlockAlign;
    type.SetTemporalCompression(FALSE);
    type.SetSampleSize(format->nBlockAlign);
    return type;
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
    return stream.kind == av::StreamKind::Video ? VideoType(stream) : AudioType(stream);
}

}  // namespace

CMediaFileStreamPin::CMediaFileStreamPin(CMediaFileSource* filter, HRESULT* result,
                                         const av::StreamInfo& stream, LPCWSTR name)
    : CStreamingOutputPin(nullptr, result, filter, name), source_(filter), stream_(stream),
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
        av::StreamDecoder::Open(source_->Path(), stream_.index, &error);
    if (!decoder) {
        ReportFailure(kSubsystem, error);
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
            ReportFailure(kSubsystem, error);
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

CMediaFileSource::CMediaFileSource() : CSource(nullptr, nullptr, CLSID_MediaFileSource) {}

void* CMediaFileSource::GetInterface(REFIID iid)
{
    if (iid == IID_IFileSourceFilter)
        return static_cast<IFileSourceFilter*>(this);
    if (iid == IID_IMediaSeeking)
        return static_cast<IMediaSeeking*>(this);
    return CSource::GetInterface(iid);
}

HRESULT CMediaFileSource::Load(LPCOLESTR fileName, const AM_MEDIA_TYPE*)
{
    if (!fileName)
        return E_POINTER;
    CAutoLock lock(&m_StateLock);
    if (!path_.empty())
        return E_UNEXPECTED;
    const std::string path = WideToUtf8(fileName);
    std::vector<av::StreamInfo> streams;
    std::string error;
    if (!av::ProbeMediaFile(path, streams, &error)) {
        ReportFailure(kSubsystem, error);
        return GetFileAttributesA(path.c_str()) == FILE_ATTRIBUTE_NORMAL ? VFW_E_UNKNOWN_FILE_TYPE
                                                                         : VFW_E_NOT_FOUND;
    }
    path_ = path;
    for (const av::StreamInfo& stream : streams) {
        if (stream.kind == av::StreamKind::Other)
            continue;
        const std::u16string name = (stream.kind == av::StreamKind::Video ? u"Video " : u"Audio ") +
                                    Utf8ToWide(std::to_string(stream.index));
        HRESULT hr = S_OK;
        // The pin adds itself to the filter, which deletes it.
        auto* pin = new (std::nothrow) CMediaFileStreamPin(this, &hr, stream, name.c_str());
        if (!pin)
            return E_OUTOFMEMORY;
        const double end = stream.startSeconds + stream.durationSeconds;
        duration_ =
            std::max(duration_, static_cast<REFERENCE_TIME>(std::llround(end * kUnitsPerSecond)));
    }
    return S_OK;
}

HRESULT CMediaFileSource::SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD)
{
    return E_NOTIMPL;
}

HRESULT CMediaFileSource::GetDuration(LONGLONG* duration)
{
    if (!duration)
        return E_POINTER;
    *duration = duration_;
    return duration_ > 0 ? S_OK : E_NOTIMPL;
}

HRESULT CMediaFileSource::GetCurrentPosition(LONGLONG* position)
{
    if (!position)
        return E_POINTER;
    CAutoLock lock(&m_StateLock);
    REFERENCE_TIME latest = 0;
    for (CStreamingOutputPin* pin : m_paStreams) {
        latest = std::max(latest, static_cast<CMediaFileStreamPin*>(pin)->Position());
    }
    *position = latest;
    return S_OK;
}
