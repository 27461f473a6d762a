#include "platform/dshow/SystemDeviceEnum.h"

#include "platform/com/Variant.h"
#include "platform/dshow/AudioEncoderFilter.h"
#include "platform/dshow/Uuids.h"
#include "platform/dshow/VideoEncoderFilter.h"

#include <new>
#include <string>
#include <vector>

namespace {

// The monikers of one category, each referenced once by the enumerator.
class CEnumMoniker : public CUnknown, public IEnumMoniker {
public:
    explicit CEnumMoniker(std::vector<IMoniker*> monikers) : monikers_(std::move(monikers)) {}
    ~CEnumMoniker() override {
        for (IMoniker* moniker : monikers_) moniker->Release();
    }
    DECLARE_IUNKNOWN

    HRESULT Next(ULONG count, IMoniker** monikers, ULONG* fetched) override {
        if (!monikers) return E_POINTER;
        ULONG n = 0;
        while (n < count && position_ < monikers_.size()) {
            monikers[n] = monikers_[position_++];
            monikers[n]->AddRef();
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        const std::size_t left = monikers_.size() - position_;
        if (count > left) {
            position_ = monikers_.size();
            return S_FALSE;
        }
        position_ += count;
        return S_OK;
    }
    HRESULT Reset() override {
        position_ = 0;
        return S_OK;
    }

protected:
    void* GetInterface(REFIID iid) override {
        if (iid == IID_IUnknown || iid == IID_IEnumMoniker) return static_cast<IEnumMoniker*>(this);
        return nullptr;
    }

private:
    std::vector<IMoniker*> monikers_;
    std::size_t position_ = 0;
};

class CCompressorProperties : public CUnknown, public IPropertyBag {
public:
    explicit CCompressorProperties(const std::string& friendlyName)
        : friendlyName_(Utf8ToWide(friendlyName)) {}
    DECLARE_IUNKNOWN

    HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        if (!name || !value) return E_POINTER;
        if (std::u16string(name) != u"FriendlyName") return E_FAIL;
        BSTR text = SysAllocString(friendlyName_.c_str());
        if (!text) return E_OUTOFMEMORY;
        value->vt = VT_BSTR;
        value->bstrVal = text;
        return S_OK;
    }
    HRESULT Write(LPCOLESTR, VARIANT*) override { return E_FAIL; }

protected:
    void* GetInterface(REFIID iid) override {
        if (iid == IID_IUnknown || iid == IID_IPropertyBag) return static_cast<IPropertyBag*>(this);
        return nullptr;
    }

private:
    std::u16string friendlyName_;
};

// Makes a new object and answers QueryInterface on it; the object goes again on failure.
template <class T, class... Arguments>
HRESULT CreateAndQuery(REFIID iid, void** out, Arguments&&... arguments) {
    if (!out) return E_POINTER;
    *out = nullptr;
    T* object = new (std::nothrow) T(std::forward<Arguments>(arguments)...);
    if (!object) return E_OUTOFMEMORY;
    object->NonDelegatingAddRef();
    const HRESULT hr = object->NonDelegatingQueryInterface(iid, out);
    object->NonDelegatingRelease();
    return hr;
}

}  // namespace

void* CSystemDeviceEnum::GetInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_ICreateDevEnum) return static_cast<ICreateDevEnum*>(this);
    return nullptr;
}

HRESULT CSystemDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers,
                                                 DWORD) {
    if (!monikers) return E_POINTER;
    *monikers = nullptr;
    std::vector<av::EncoderEntry> entries;
    if (category == CLSID_VideoCompressorCategory) {
        entries = av::AvailableEncoders(av::EncoderCategory::Video);
    } else if (category == CLSID_AudioCompressorCategory) {
        entries = av::AvailableEncoders(av::EncoderCategory::Audio);
    }
    if (entries.empty()) return S_FALSE;
    std::vector<IMoniker*> list;
    for (av::EncoderEntry& entry : entries) {
        IMoniker* moniker = nullptr;
        if (FAILED(CreateAndQuery<CCompressorMoniker>(IID_IMoniker,
                                                      reinterpret_cast<void**>(&moniker),
                                                      std::move(entry)))) {
            for (IMoniker* made : list) made->Release();
            return E_OUTOFMEMORY;
        }
        list.push_back(moniker);
    }
    return CreateAndQuery<CEnumMoniker>(IID_IEnumMoniker, reinterpret_cast<void**>(monikers),
                                        std::move(list));
}

CCompressorMoniker::CCompressorMoniker(av::EncoderEntry entry) : entry_(std::move(entry)) {}

void* CCompressorMoniker::GetInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IMoniker) return static_cast<IMoniker*>(this);
    return nullptr;
}

HRESULT CCompressorMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (entry_.category == av::EncoderCategory::Video) {
        return CreateAndQuery<CVideoEncoderFilter>(iid, object, entry_.friendlyName);
    }
    return CreateAndQuery<CAudioEncoderFilter>(iid, object, entry_.friendlyName);
}

HRESULT CCompressorMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** object) {
    return CreateAndQuery<CCompressorProperties>(iid, object, entry_.friendlyName);
}
