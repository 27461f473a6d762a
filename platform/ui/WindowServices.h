#pragma once

#include "platform/ui/Controls.h"

// Services on any window of the layer (dialogs and controls), under their desktop names.
// User-interface thread only. A handle that names no window (null, stale, or a
// message-only window where a widget is needed) gives the failure answer and changes
// nothing.

// The control of the dialog (or of one of its pages: pages are searched after the
// dialog's own controls) with that id; null when none.
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
// The parent of a control or page; the owner of a top-level window; null for none.
HWND GetParent(HWND window);

// Text is UTF-8. GetWindowTextA copies at most maxCount - 1 bytes, cut at a character
// boundary, and always ends the copy with a terminator (nothing is written when maxCount
// is below 1); answers the length copied. A drop list's text is its selected item.
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int maxCount);
int GetWindowTextLengthA(HWND window);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int maxCount);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// Answers nonzero when the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
// Answers nonzero when the window itself was visible before.
BOOL ShowWindow(HWND window, int command);
// True when the window and all its ancestors are shown.
BOOL IsWindowVisible(HWND window);

// The control (or dialog) with the keyboard focus, null when none of ours has it.
HWND GetFocus();
// Answers the window that had the focus.
HWND SetFocus(HWND window);

// The window's outer rectangle in screen coordinates.
BOOL GetWindowRect(HWND window, RECT* rect);
// Places a window: a control or page in its parent's client coordinates, a top-level
// window on the screen.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline HWND const HWND_TOP = nullptr;
// Moves, sizes and (without SWP_NOZORDER) raises the window above its siblings;
// insertAfter can only be HWND_TOP.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

// Dialog units of the dialog's font to pixels, in place (see platform/ui/DialogUnits.h).
BOOL MapDialogRect(HWND dialog, RECT* rect);

// Destroys the window and everything inside it: WM_DESTROY goes to the window and then
// to each control, then the handles go.
BOOL DestroyWindow(HWND window);

// Menus of a dialog (from its resource's menu).
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_BYPOSITION = 0x0400;
HMENU GetMenu(HWND window);
HMENU GetSubMenu(HMENU menu, int position);
// By command, the item is searched in the menu and its pop-ups. Both MF_GRAYED and
// MF_DISABLED make the item unchoosable (and greyed). Answers the item's previous
// state (MF_ENABLED or MF_GRAYED), or -1 when there is no such item.
int EnableMenuItem(HMENU menu, UINT item, UINT flags);
