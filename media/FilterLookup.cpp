#include "media/FilterLookup.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "platform/text/Utf8Copy.h"
#include "platform/win/Sync.h"

#include <algorithm>
#include <string>

namespace {

// The category's device monikers in enumeration order; null when the device enumerator
// cannot be made or the category has no devices.
ComPtr<IEnumMoniker> EnumerateCategory(const CLSID& category)
{
    ComPtr<ICreateDevEnum> devices;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                         devices.OutVoid()) != S_OK)
        return {};
    ComPtr<IEnumMoniker> monikers;
    if (devices->CreateClassEnumerator(category, monikers.Out(), 0) != S_OK)
        return {};
    return monikers;
}

// The moniker's friendly name as UTF-8 in buffer (length bytes, terminated); an empty
// text when the property bag or the name cannot be read.
void ReadFriendlyName(IMoniker* moniker, char* buffer, int length)
{
    buffer[0] = '\0';
    ComPtr<IPropertyBag> bag;
    if (moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.OutVoid()) != S_OK)
        return;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    if (bag->Read(u"FriendlyName", &value, nullptr) == S_OK && value.vt == VT_BSTR)
        CopyWideAsNarrow(buffer, value.bstrVal, length);
    VariantClear(&value);
}

ComPtr<IBaseFilter> BindFilter(IMoniker* moniker)
{
    ComPtr<IBaseFilter> filter;
    if (moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.OutVoid()) != S_OK)
        filter.Reset();
    return filter;
}

}  // namespace

IBaseFilter* FindFilterByName(CLSID category, const char* name)
{
    if (!name)
        return nullptr;
    ComPtr<IEnumMoniker> monikers = EnumerateCategory(category);
    if (!monikers)
        return nullptr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Out(), nullptr) == S_OK) {
        char friendly[kFriendlyNameLength];
        ReadFriendlyName(moniker.get(), friendly, kFriendlyNameLength);
        if (friendly[0] == '\0' || lstrcmpiA(friendly, name) != 0)
            continue;
        if (ComPtr<IBaseFilter> filter = BindFilter(moniker.get()))
            return filter.Detach();
    }
    return nullptr;
}

IBaseFilter* FindFilterByIndex(CLSID category, char* name, int length, int index)
{
    if (index < 0)
        return nullptr;
    ComPtr<IEnumMoniker> monikers = EnumerateCategory(category);
    if (!monikers)
        return nullptr;
    ComPtr<IMoniker> moniker;
    for (int position = 0; position <= index; ++position) {
        if (monikers->Next(1, moniker.Out(), nullptr) != S_OK)
            return nullptr;
    }
    ComPtr<IBaseFilter> filter = BindFilter(moniker.get());
    if (name && length > 0)
        ReadFriendlyName(moniker.get(), name, std::min(length, kFriendlyNameLength));
    return filter.Detach();
}

IPin* GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n)
{
    if (!filter || n < 0)
        return nullptr;
    ComPtr<IEnumPins> pins;
    if (filter->EnumPins(pins.Out()) != S_OK)
        return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Out(), nullptr) == S_OK) {
        PIN_DIRECTION pinDirection;
        if (pin->QueryDirection(&pinDirection) != S_OK || pinDirection != direction)
            continue;
        if (n-- == 0)
            return pin.get();  // the filter keeps its pins alive
    }
    return nullptr;
}

IBaseFilter* FindSinkFilterByMajorType(IFilterGraph* graph, GUID majorType)
{
    if (!graph)
        return nullptr;
    ComPtr<IEnumFilters> filters;
    if (graph->EnumFilters(filters.Out()) != S_OK)
        return nullptr;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Out(), nullptr) == S_OK) {
        IPin* input = GetPin(filter.get(), PINDIR_INPUT, 0);
        if (!input || GetPin(filter.get(), PINDIR_OUTPUT, 0))
            continue;
        AM_MEDIA_TYPE type{};
        if (input->ConnectionMediaType(&type) != S_OK)
            continue;
        const bool matches = type.majortype == majorType;
        FreeMediaType(type);
        if (matches)
            return filter.get();  // the graph keeps its filters alive
    }
    return nullptr;
}

bool CopyWideAsNarrow(char* buffer, const WCHAR* text, int length)
{
    if (!buffer || !text || length < 1)
        return false;
    CopyTextCut(buffer, static_cast<std::size_t>(length), WideToUtf8(WideFrom(text)));
    return true;
}
