#pragma once

#include "platform/win/Types.h"
#include "platform/win/Window.h"

#include <cstdint>

// The scalar and handle types of the user-interface calls, and the word packing the
// messages use. Text is UTF-8 wherever the calls say ANSI.

using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LPSTR = char*;
using LPCSTR = const char*;

struct ResourceModule;
// The module whose resources (dialogs, menus, icons, bitmaps) a call loads from; null
// stands for the program's own (see platform/ui/Resources.h).
using HINSTANCE = const ResourceModule*;

struct BitmapObject;
struct IconObject;
struct MenuObject;
struct DeviceContext;
using HBITMAP = BitmapObject*;
using HICON = IconObject*;
using HMENU = MenuObject*;
using HDC = DeviceContext*;
using HGDIOBJ = void*;

// The kinds of image that buttons show and resources hold.
inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;

struct POINT {
    LONG x;
    LONG y;
};

constexpr WORD LOWORD(std::uintptr_t value)
{
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t value)
{
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high)
{
    return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr LONG MAKELONG(WORD low, WORD high)
{
    return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// A resource named by number, as the resource calls take it.
inline LPCSTR MAKEINTRESOURCEA(WORD id)
{
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id));
}
// Whether a resource name is a number made by MAKEINTRESOURCEA.
inline bool IS_INTRESOURCE(LPCSTR name)
{
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}
