#include "editor/engine/PushSource.h"

#include <new>

CPushSource* CPushSource::CreateInstance(LPUNKNOWN outer, HRESULT* result)
{
    auto* filter = new (std::nothrow) CPushSource(outer, result);
    if (!filter && result)
        *result = E_OUTOFMEMORY;
    return filter;
}

CPushSource::CPushSource(LPUNKNOWN outer, HRESULT* result)
    : CSource(nullptr, outer, CLSID_PushSource)
{
    pin_ = new (std::nothrow) CPushPinBitmapSet(result, this);
    if (result)
        *result = pin_ ? S_OK : E_OUTOFMEMORY;
}

CPushSource::~CPushSource()
{
    // The pin takes itself out of the base's list as it goes.
    delete pin_;
}
