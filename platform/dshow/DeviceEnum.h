#pragma once

#include "platform/com/Guid.h"
#include "platform/com/Result.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"
#include "platform/com/WideString.h"

// The system device enumerator (CLSID_SystemDeviceEnum): the installed filters of a
// device category (the audio and video compressors) as monikers, each with a property
// bag that holds its "FriendlyName". Application's thread.

struct IBindCtx;
struct IErrorLog;
struct IMoniker;

inline constexpr IID IID_ICreateDevEnum{
    0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr IID IID_IEnumMoniker{
    0x00000102, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IMoniker{
    0x0000000F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IPropertyBag{
    0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

struct IEnumMoniker : IUnknown {
    // S_OK when count monikers came, S_FALSE when fewer; each carries a reference.
    virtual HRESULT Next(ULONG count, IMoniker** monikers, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
};

// One installed device. Neither call needs a bind context (null).
struct IMoniker : IUnknown {
    // Makes the device's object (a filter: IID_IBaseFilter).
    virtual HRESULT BindToObject(IBindCtx* context, IMoniker* left, REFIID iid, void** object) = 0;
    // The device's stored properties (IID_IPropertyBag).
    virtual HRESULT BindToStorage(IBindCtx* context, IMoniker* left, REFIID iid, void** object) = 0;
};

struct IPropertyBag : IUnknown {
    // Fills value (the caller clears it with VariantClear); E_FAIL for an unknown name.
    virtual HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
    virtual HRESULT Write(LPCOLESTR name, VARIANT* value) = 0;
};

struct ICreateDevEnum : IUnknown {
    // S_FALSE, with a null enumerator, when the category has no devices.
    virtual HRESULT CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers,
                                          DWORD flags) = 0;
};
