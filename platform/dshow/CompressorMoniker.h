#pragma once

#include "platform/av/EncoderEntry.h"
#include "platform/com/Unknown.h"
#include "platform/dshow/DeviceEnum.h"
#include "platform/win/DesktopHooks.h"

// One compressor as a device.
class CCompressorMoniker : public CUnknown, public IMoniker {
public:
    explicit CCompressorMoniker(av::EncoderEntry entry);
    DECLARE_IUNKNOWN

    // IID_IBaseFilter: a new, unconnected encoder filter; the codec opens when its input
    // connects, so a compressor that cannot work at that size fails the connection.
    // REGDB_E_CLASSNOTREG for a compressor the desktop hooks call broken.
    HRESULT BindToObject(IBindCtx* context, IMoniker* left, REFIID iid, void** object) override;
    // IID_IPropertyBag: the device's read-only properties.
    HRESULT BindToStorage(IBindCtx* context, IMoniker* left, REFIID iid, void** object) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    av::EncoderEntry entry_;
};

// The desktop hooks' name for a compressor category.
CompressorCategory HookCategory(av::EncoderCategory category);
