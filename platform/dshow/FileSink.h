#pragma once

#include "platform/com/Guid.h"
#include "platform/com/Unknown.h"
#include "platform/com/WideString.h"
#include "platform/dshow/MediaTypes.h"

// The file writer's target file (CLSID_FileWriter). Application's thread, before the
// graph runs.

inline constexpr IID IID_IFileSinkFilter{
    0xA2104830, 0x7C70, 0x11CF, {0x8B, 0xCE, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};
inline constexpr IID IID_IFileSinkFilter2{
    0x00855B90, 0xCE1B, 0x11D0, {0xBD, 0x4F, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

struct IFileSinkFilter : IUnknown {
    // type may be null.
    virtual HRESULT SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) = 0;
    // *fileName from CoTaskMemAlloc (the caller frees it); type may be null.
    virtual HRESULT GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) = 0;
};

inline constexpr DWORD AM_FILE_OVERWRITE = 0x1;

struct IFileSinkFilter2 : IFileSinkFilter {
    virtual HRESULT SetMode(DWORD flags) = 0;
    virtual HRESULT GetMode(DWORD* flags) = 0;
};
