#include "platform/dshow/EnumMediaTypes.h"

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin) : pin_(ComPtr<CBasePin>::Share(pin))
{
    Reset();
}

void* CEnumMediaTypes::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IEnumMediaTypes) {
        return static_cast<IEnumMediaTypes*>(this);
    }
    return nullptr;
}

HRESULT CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (!types)
        return E_POINTER;
    ULONG n = 0;
    while (n < count && position_ < types_.size()) {
        AM_MEDIA_TYPE* copy = CreateMediaType(&types_[position_]);
        if (!copy)
            break;
        types[n++] = copy;
        ++position_;
    }
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Skip(ULONG count)
{
    position_ += count;
    if (position_ <= types_.size())
        return S_OK;
    position_ = types_.size();
    return S_FALSE;
}

HRESULT CEnumMediaTypes::Reset()
{
    types_.clear();
    // A cap keeps a pin that never says "no more" from hanging the enumeration.
    for (int position = 0; position < 64; ++position) {
        CMediaType type;
        if (pin_->GetMediaType(position, &type) != S_OK)
            break;
        types_.push_back(type);
    }
    position_ = 0;
    return S_OK;
}
