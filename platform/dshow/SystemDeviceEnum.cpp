#include "platform/dshow/SystemDeviceEnum.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/CompressorMoniker.h"
#include "platform/dshow/InterfaceEnumerator.h"
#include "platform/dshow/Uuids.h"
#include "platform/win/DesktopHooks.h"

#include <new>
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
