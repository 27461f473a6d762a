#pragma once

#include "platform/com/Unknown.h"
#include "platform/dshow/FilterBase.h"

#include <functional>
#include <vector>

// The enumerators the base classes and the graph hand out. Each works on a snapshot of
// its owner's list, taken when it is made and again on Reset, and keeps the owner alive.

template <class Enum, class Item, const IID& kIid>
class CInterfaceEnumerator : public CUnknown, public Enum {
public:
    using Snapshot = std::function<std::vector<Item*>()>;  // items without references

    CInterfaceEnumerator(IUnknown* owner, Snapshot snapshot)
        : owner_(owner), snapshot_(std::move(snapshot))
    {
        owner_->AddRef();
        Take();
    }
    ~CInterfaceEnumerator() override
    {
        Drop();
        owner_->Release();
    }
    DECLARE_IUNKNOWN

    HRESULT Next(ULONG count, Item** items, ULONG* fetched) override
    {
        if (!items)
            return E_POINTER;
        ULONG n = 0;
        while (n < count && position_ < items_.size()) {
            items[n] = items_[position_++];
            items[n]->AddRef();
            ++n;
        }
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
        Drop();
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
        items_ = snapshot_();
        for (Item* item : items_)
            item->AddRef();
        position_ = 0;
    }
    void Drop()
    {
        for (Item* item : items_)
            item->Release();
        items_.clear();
    }

    IUnknown* owner_;
    Snapshot snapshot_;
    std::vector<Item*> items_;
    std::size_t position_ = 0;
};

using CEnumPins = CInterfaceEnumerator<IEnumPins, IPin, IID_IEnumPins>;
using CEnumFilters = CInterfaceEnumerator<IEnumFilters, IBaseFilter, IID_IEnumFilters>;

// The types a pin offers (GetMediaType 0, 1, ...).
class CEnumMediaTypes : public CUnknown, public IEnumMediaTypes {
public:
    explicit CEnumMediaTypes(CBasePin* pin);
    ~CEnumMediaTypes() override;
    DECLARE_IUNKNOWN

    HRESULT Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    CBasePin* pin_;  // referenced
    std::vector<CMediaType> types_;
    std::size_t position_ = 0;
};
