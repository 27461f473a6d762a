#pragma once

#include "platform/com/Unknown.h"
#include "platform/dshow/DeviceEnum.h"

// The system device enumerator (CLSID_SystemDeviceEnum). Its devices are our compressors:
// the audio and the video compressor category list the rows of av::AvailableEncoders in
// that order (or the names the desktop hooks list, platform/win/DesktopHooks.h); any other category has no devices. Each moniker's property bag holds the
// row's "FriendlyName"; binding it to IID_IBaseFilter makes the encoder filter for that
// row. Any thread; the objects share nothing.
class CSystemDeviceEnum : public CUnknown, public ICreateDevEnum {
public:
    DECLARE_IUNKNOWN

    HRESULT CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers, DWORD flags) override;

protected:
    void* GetInterface(REFIID iid) override;
};
