#include "platform/dshow/CompressorMoniker.h"

#include "platform/com/Com.h"
#include "platform/com/Variant.h"
#include "platform/dshow/AudioEncoderFilter.h"
#include "platform/dshow/VideoEncoderFilter.h"
#include "platform/text/Utf16.h"

#include <string>

namespace {

// The device's stored properties: its "FriendlyName", read-only.
class CCompressorProperties : public CUnknown, public IPropertyBag {
public:
    explicit CCompressorProperties(const std::string& friendlyName)
        : friendlyName_(Utf8ToWide(friendlyName))
    {}
    DECLARE_IUNKNOWN

    HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override
    {
        if (!name || !value)
            return E_POINTER;
        if (std::u16string(name) != u"FriendlyName")
            return E_FAIL;
        BSTR text = SysAllocString(friendlyName_.c_str());
        if (!text)
            return E_OUTOFMEMORY;
        value->vt = VT_BSTR;
        value->bstrVal = text;
        return S_OK;
    }
    HRESULT Write(LPCOLESTR, VARIANT*) override { return E_FAIL; }

protected:
    void* GetInterface(REFIID iid) override
    {
        if (iid == IID_IUnknown || iid == IID_IPropertyBag)
            return static_cast<IPropertyBag*>(this);
        return nullptr;
    }

private:
    std::u16string friendlyName_;
};

}  // namespace

CompressorCategory HookCategory(av::EncoderCategory category)
{
    return category == av::EncoderCategory::Video ? CompressorCategory::Video
                                                  : CompressorCategory::Audio;
}

CCompressorMoniker::CCompressorMoniker(av::EncoderEntry entry) : entry_(std::move(entry)) {}

void* CCompressorMoniker::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IMoniker)
        return static_cast<IMoniker*>(this);
    return nullptr;
}

HRESULT CCompressorMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    const auto& creatable = CurrentDesktopHooks().compressorCreatable;
    if (creatable && !creatable(HookCategory(entry_.category), entry_.friendlyName))
        return REGDB_E_CLASSNOTREG;
    if (entry_.category == av::EncoderCategory::Video) {
        return CreateComObject<CVideoEncoderFilter>(iid, object, entry_.friendlyName);
    }
    return CreateComObject<CAudioEncoderFilter>(iid, object, entry_.friendlyName);
}

HRESULT CCompressorMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** object)
{
    return CreateComObject<CCompressorProperties>(iid, object, entry_.friendlyName);
}
