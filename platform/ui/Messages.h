#pragma once

#include "platform/ui/UiTypes.h"

// Window messages and the notifications controls send to their parent dialog.

inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_APP = 0x8000;

// WM_SETICON: wParam ICON_BIG or ICON_SMALL, lParam the HICON; answers the previous one.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// WM_COMMAND: wParam = MAKEWPARAM(control id, notification code), lParam = the control's
// window (0 for menu commands, whose code is 0 as well).
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD EN_CHANGE = 0x0300;

// Virtual key codes in WM_KEYDOWN and WM_KEYUP (letters and digits are their upper-case
// ASCII codes).
inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
inline constexpr WPARAM VK_DELETE = 0x2E;

// A message as the pre-translation sees it (see platform/mfc/Framework.h).
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

// WM_NOTIFY: wParam = the sending control's id, lParam = its NMHDR (valid during the
// call only).
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

inline constexpr UINT TCN_SELCHANGE = static_cast<UINT>(-551);
inline constexpr UINT TTN_NEEDTEXTA = static_cast<UINT>(-520);

// TTN_NEEDTEXTA: asked each time a tool tip is about to show. With TTF_IDISHWND in
// uFlags, hdr.idFrom is the control's window. The answer is the text lpszText points at
// (valid until the tip is shown) or, when lpszText stays null, szText; an empty text
// shows no tip.
inline constexpr UINT TTF_IDISHWND = 0x0001;
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using TOOLTIPTEXTA = NMTTDISPINFOA;
