#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"
#include "platform/dshow/BasePin.h"
#include "platform/dshow/MediaType.h"

#include <vector>

// The enumerator of the types a pin offers (GetMediaType 0, 1, ...): a snapshot taken
// when it is made and again on Reset; it keeps the pin alive.
class CEnumMediaTypes : public CUnknown, public IEnumMediaTypes {
public:
    explicit CEnumMediaTypes(CBasePin* pin);
    DECLARE_IUNKNOWN

    HRESULT Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    ComPtr<CBasePin> pin_;
    std::vector<CMediaType> types_;
    std::size_t position_ = 0;
};
