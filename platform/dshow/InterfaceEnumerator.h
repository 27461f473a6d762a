#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"
#include "platform/dshow/Filter.h"

#include <functional>
#include <vector>

// An enumerator of interfaces as the base classes and the graph hand them out (pins,
// filters, monikers). It works on a snapshot of its owner's list, taken when it is made
// and again on Reset, and keeps the owner alive.
template <class Enum, class Item, const IID& kIid>
class CInterfaceEnumerator : public CUnknown, public Enum {
public:
    using Snapshot = std::function<std::vector<Item*>()>;  // items without references

    CInterfaceEnumerator(IUnknown* owner, Snapshot snapshot)
        : owner_(ComPtr<IUnknown>::Share(owner)), snapshot_(std::move(snapshot))
    {
        Take();
    }
    DECLARE_IUNKNOWN

    HRESULT Next(ULONG count, Item** items, ULONG* fetched) override
    {
        if (!items)
            return E_POINTER;
        ULONG n = 0;
        while (n < count && position_ < items_.size())
            items_[position_++].CopyTo(&items[n++]);
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override
    {
        position_ += count;
        if (position_ <= items_.size())
            return S_OK;
        position_ = items_.size();
        return S_FALSE;
    }
    HRESULT Reset() override
    {
        Take();
        return S_OK;
    }

protected:
    void* GetInterface(REFIID iid) override
    {
        if (iid == IID_IUnknown || iid == kIid)
            return static_cast<Enum*>(this);
        return nullptr;
    }

private:
    void Take()
    {
        items_.clear();
        for (Item* item : snapshot_())
            items_.push_back(ComPtr<Item>::Share(item));
        position_ = 0;
    }

    ComPtr<IUnknown> owner_;
    Snapshot snapshot_;
    std::vector<ComPtr<Item>> items_;
    std::size_t position_ = 0;
};

using CEnumPins = CInterfaceEnumerator<IEnumPins, IPin, IID_IEnumPins>;
using CEnumFilters = CInterfaceEnumerator<IEnumFilters, IBaseFilter, IID_IEnumFilters>;
