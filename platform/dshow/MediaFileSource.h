#pragma once

#include "platform/dshow/Graph.h"
#include "platform/dshow/MediaFileStreamPin.h"
#include "platform/dshow/SourceBase.h"

#include <string>

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

protected:
    void* GetInterface(REFIID iid) override;

private:
    std::string path_;  // UTF-8; empty before Load
    REFERENCE_TIME duration_ = 0;
};
