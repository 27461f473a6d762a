#pragma once

#include "platform/dshow/FileSink.h"
#include "platform/dshow/RendererBase.h"

#include <mutex>
#include <string>

// The file writer (CLSID_FileWriter): the sink at the end of the AVI multiplexer. It holds
// the target file (the multiplexer asks for it when a run starts and writes it through its
// own AVI writer, replacing whatever was there) and reports the end of the stream to the
// graph like every renderer.
class CFileWriter : public CBaseRenderer, public IFileSinkFilter2 {
public:
    CFileWriter();
    DECLARE_IUNKNOWN

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;

    // Either separator; type may be null. E_INVALIDARG for an empty name.
    HRESULT SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) override;
    // E_FAIL before a name was set.
    HRESULT GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) override;
    HRESULT SetMode(DWORD flags) override;
    HRESULT GetMode(DWORD* flags) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    // Guards the settings: set on the application's thread, read when a run starts.
    std::mutex settingsMutex_;
    std::u16string fileName_;
    CMediaType type_;
    DWORD mode_ = 0;
};
