#include "platform/com/Variant.h"

void VariantInit(VARIANT* value)
{
    if (!value)
        return;
    value->vt = VT_EMPTY;
    value->lVal = 0;
}

HRESULT VariantClear(VARIANT* value)
{
    if (!value)
        return E_POINTER;
    if (value->vt == VT_BSTR)
        SysFreeString(value->bstrVal);
    VariantInit(value);
    return S_OK;
}
