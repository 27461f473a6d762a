#include "platform/dshow/MediaTypes.h"

#include "platform/com/Com.h"

#include <cstdlib>
#include <cstring>

GUID MediaSubtypeFromFourcc(DWORD fourcc)
{
    return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

void FreeMediaType(AM_MEDIA_TYPE& type)
{
    if (type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    SafeRelease(type.pUnk);
}

void DeleteMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return;
    FreeMediaType(*type);
    CoTaskMemFree(type);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source)
{
    if (!target || !source)
        return E_POINTER;
    *target = *source;
    if (source->cbFormat && source->pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
        if (!target->pbFormat) {
            target->cbFormat = 0;
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
    } else {
        target->pbFormat = nullptr;
        target->cbFormat = 0;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source)
{
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type)
        return nullptr;
    if (FAILED(CopyMediaType(type, source))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

DWORD GetBitmapSize(const BITMAPINFOHEADER* header)
{
    if (!header)
        return 0;
    const DWORD rowBytes =
        ((static_cast<DWORD>(std::abs(header->biWidth)) * header->biBitCount + 31) / 32) * 4;
    return rowBytes * static_cast<DWORD>(std::abs(header->biHeight));
}

GUID GetBitmapSubtype(const BITMAPINFOHEADER* header)
{
    if (!header)
        return GUID_NULL;
    switch (header->biBitCount) {
    case 8:
        return MEDIASUBTYPE_RGB8;
    case 24:
        return MEDIASUBTYPE_RGB24;
    case 32:
        return MEDIASUBTYPE_RGB32;
    default:
        return GUID_NULL;
    }
}
