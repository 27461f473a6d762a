#pragma once

#include "platform/ui/Controls.h"

// The styles both pages' resources share: a page without caption inside the main
// dialog, path fields that take dropped files, icon buttons and drop lists.
inline constexpr DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT;
inline constexpr DWORD kPageExStyle = WS_EX_CONTROLPARENT | WS_EX_NOPARENTNOTIFY;
inline constexpr DWORD kPathFieldStyle = ES_AUTOHSCROLL | WS_BORDER;
inline constexpr DWORD kPathFieldExStyle = WS_EX_ACCEPTFILES;
inline constexpr DWORD kPageIconButton = BS_PUSHBUTTON | BS_ICON;
inline constexpr DWORD kPageListStyle = CBS_DROPDOWNLIST | WS_VSCROLL;
