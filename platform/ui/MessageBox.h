#pragma once

#include "platform/ui/Controls.h"

// Message boxes, through the desktop hooks (platform/win/DesktopHooks.h) so that tests
// answer them. User-interface thread.

inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;

// Shows text ("\r\n" and "\n" break lines) with the caption, or with the program's
// executable base name when caption is null, modal to owner (or to nothing); answers the
// button pressed: IDOK for MB_OK, also when the box is closed otherwise.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
