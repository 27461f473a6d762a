#pragma once

#include <cstdint>

// The scalar types of the desktop platform's interfaces, with the widths that stored
// records and the callers' arithmetic rely on.
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
