#include "platform/dshow/MediaFileSource.h"

#include "platform/dshow/FailureReport.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "platform/win/Files.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>
#include <vector>

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
        ReportFailure(kMediaFileSourceSubsystem, error);
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
        auto* pin = new (std::nothrow) CMediaFileStreamPin(this, &hr, stream, path_, name.c_str());
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
