#include "platform/dshow/SystemDeviceEnum.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Variant.h"
#include "platform/dshow/AudioEncoderFilter.h"
#include "platform/dshow/InterfaceEnumerator.h"
#include "platform/dshow/Uuids.h"
#include "platform/dshow/VideoEncoderFilter.h"
#include "platform/text/Utf16.h"
#include "platform/win/DesktopHooks.h"

#include <new>
#include <string>
#include <vector>

namespace {

using CEnumMoniker = CInterfaceEnumerator<IEnumMoniker, IMoniker, IID_IEnumMoniker>;

// The monikers of one enumeration; the enumerator keeps the list alive.
class CMonikerList : public CUnknown, public IUnknown {
public:
    DECLARE_IUNKNOWN
    std::vector<IMoniker*> Items() const
    {
        std::vector<IMoniker*> items;
        for (const ComPtr<IMoniker>& moniker : monikers)
            items.push_back(moniker.get());
        return items;
    }
    std::vector<ComPtr<IMoniker>> monikers;

protected:
    void* GetInterface(REFIID iid) override
    {
        return iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
    }
};

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

CompressorCategory HookCategory(av::EncoderCategory category)
{
    return category == av::EncoderCategory::Video ? CompressorCategory::Video
                                                  : CompressorCategory::Audio;
}

// The compressors of a category: those the codec library has, or those a test installed
// in the desktop hooks (bound like any other unless the hooks call them broken; their
// codec fails only when it opens).
std::vector<av::EncoderEntry> CompressorEntries(av::EncoderCategory category)
{
    const auto& listed = CurrentDesktopHooks().compressors;
    if (!listed)
        return av::AvailableEncoders(category);
    std::vector<av::EncoderEntry> entries;
    for (std::string& name : listed(HookCategory(category)))
        entries.push_back({std::move(name), category, ""});
    return entries;
}

}  // namespace

void* CSystemDeviceEnum::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_ICreateDevEnum)
        return static_cast<ICreateDevEnum*>(this);
    return nullptr;
}

HRESULT CSystemDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers, DWORD)
{
    if (!monikers)
        return E_POINTER;
    *monikers = nullptr;
    std::vector<av::EncoderEntry> entries;
    if (category == CLSID_VideoCompressorCategory) {
        entries = CompressorEntries(av::EncoderCategory::Video);
    } else if (category == CLSID_AudioCompressorCategory) {
        entries = CompressorEntries(av::EncoderCategory::Audio);
    }
    if (entries.empty())
        return S_FALSE;
    const auto list = ComPtr<CMonikerList>::Share(new (std::nothrow) CMonikerList());
    if (!list)
        return E_OUTOFMEMORY;
    HRESULT hr = S_OK;
    for (av::EncoderEntry& entry : entries) {
        ComPtr<IMoniker> moniker;
        hr = CreateComObject<CCompressorMoniker>(IID_IMoniker, moniker.OutVoid(), std::move(entry));
        if (FAILED(hr))
            break;
        list->monikers.push_back(std::move(moniker));
    }
    if (SUCCEEDED(hr)) {
        CMonikerList* items = list.get();
        hr = CreateComObject<CEnumMoniker>(IID_IEnumMoniker, reinterpret_cast<void**>(monikers),
                                           static_cast<IUnknown*>(items),
                                           [items] { return items->Items(); });
    }
    return hr;
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
