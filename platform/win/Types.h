#pragma once

#include <cstdint>

// The scalar types of the desktop platform's interfaces, with the widths that stored
// records and the callers' arithmetic rely on. The one place they are declared; the COM
// and media headers take them from here.
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using LONG_PTR = std::intptr_t;
using UINT = unsigned int;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
