#pragma once

#include "platform/com/Result.h"
#include "platform/com/WideString.h"

using VARTYPE = std::uint16_t;
inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_BSTR = 8;

// Only the kinds the property bags use: a string (owned by the variant) or a number.
struct VARIANT {
    VARTYPE vt;
    union {
        LONG lVal;
        BSTR bstrVal;
    };
};

void VariantInit(VARIANT* value);
// Frees what the variant owns and leaves it VT_EMPTY.
HRESULT VariantClear(VARIANT* value);
