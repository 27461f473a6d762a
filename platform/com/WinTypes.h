#pragma once

#include <cstdint>

// The Win32 scalar names and the two plain structures that the COM and media layers need.
// Each is the type its Windows counterpart has in size and sign, so that a second
// declaration elsewhere in platform/ can only agree with it.

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

// A device-independent bitmap's header: biHeight > 0 means rows stored bottom-up.
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

inline constexpr DWORD BI_RGB = 0;
