#pragma once

#include "platform/ui/Messages.h"
#include "platform/win/WindowGeometry.h"

// Window and control styles as the dialog resources give them, and the messages each
// control kind answers (SendMessageA on the user-interface thread).

inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;

inline constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Dialogs.
inline constexpr DWORD DS_SETFONT = 0x0040;
inline constexpr DWORD DS_MODALFRAME = 0x0080;
inline constexpr DWORD DS_CONTROL = 0x0400;
inline constexpr DWORD DS_CENTER = 0x0800;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
// The id of labels that nothing addresses.
inline constexpr int IDC_STATIC = -1;

// Statics: the text wraps at word boundaries unless SS_LEFTNOWORDWRAP; "\r\n" breaks a
// line; "&" underlines the next letter, whose key moves the focus to the next control in
// the tab order ("&&" is a plain ampersand). SS_ICON and SS_BITMAP show the image the
// resource names instead of a text.
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr DWORD SS_BITMAP = 0x000E;
inline constexpr DWORD SS_SUNKEN = 0x1000;

// Push buttons. BS_DEFPUSHBUTTON is the one Enter presses. BS_ICON and BS_BITMAP buttons
// show the image set by BM_SETIMAGE instead of their text, which stays their window text
// (and so their tool tip).
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_ICON = 0x0040;
inline constexpr DWORD BS_BITMAP = 0x0080;

// BM_SETIMAGE: wParam IMAGE_BITMAP or IMAGE_ICON, lParam the HBITMAP or HICON (null
// removes it); answers the previous image of that type. The button does not own the
// image: whoever made it deletes it, after it is no longer shown.
inline constexpr UINT BM_GETIMAGE = 0x00F6;
inline constexpr UINT BM_SETIMAGE = 0x00F7;

// Edits: one line, scrolled sideways as the caret moves. Every WM_SETTEXT raises
// EN_CHANGE, also with an unchanged text and on a disabled edit; so does every edit the
// user makes. Positions are byte offsets into the UTF-8 text.
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
// EM_GETSEL: wParam and lParam DWORD* (either may be null) receive the start and the end
// of the selection; answers MAKELONG(start, end) as far as 16 bits hold them.
inline constexpr UINT EM_GETSEL = 0x00B0;
// EM_SETSEL: wParam start, lParam end; an end of -1 reaches the end of the text, a start
// of -1 removes the selection. The caret goes to the end.
inline constexpr UINT EM_SETSEL = 0x00B1;

// Drop-down lists (no typing). The window text is the selected item's text. An item holds
// at most 259 bytes (a longer text is cut at a character boundary when it is added), so
// a 260-byte buffer always takes CB_GETLBTEXT's copy. Only a choice by the user raises
// CBN_SELCHANGE.
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr int CB_ERR = -1;
inline constexpr int kComboItemTextMax = 259;
// lParam the text; answers its index (items stay in the order added).
inline constexpr UINT CB_ADDSTRING = 0x0143;
// wParam the index; answers the count left, or CB_ERR.
inline constexpr UINT CB_DELETESTRING = 0x0144;
inline constexpr UINT CB_GETCOUNT = 0x0146;
// Answers the selected index, or CB_ERR when none.
inline constexpr UINT CB_GETCURSEL = 0x0147;
// wParam the index, lParam the buffer; answers the length copied, or CB_ERR.
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
// wParam the index to search after (-1: from the top), lParam the text: the first item,
// going round the list once, that begins with the text without regard to the case of
// ASCII letters. An empty or null text finds nothing. Answers the index or CB_ERR.
inline constexpr UINT CB_FINDSTRING = 0x014C;
// CB_FINDSTRING, then selects what it found (without notification); answers the index or
// CB_ERR, leaving the selection as it was when nothing is found.
inline constexpr UINT CB_SELECTSTRING = 0x014D;
// wParam the index, -1 for none; answers the index, or CB_ERR for -1 and for an index out
// of range, which leave nothing selected. No notification.
inline constexpr UINT CB_SETCURSEL = 0x014E;

// Trackbars (horizontal). The position stays within the range; every movement by the
// user sends WM_HSCROLL to the parent: wParam MAKEWPARAM(TB_ code, position), lParam the
// trackbar's window.
inline constexpr DWORD TBS_NOTICKS = 0x0010;
inline constexpr UINT TBM_GETPOS = 0x0400;
inline constexpr UINT TBM_GETRANGEMIN = 0x0401;
inline constexpr UINT TBM_GETRANGEMAX = 0x0402;
// wParam redraw, lParam the position; clamped to the range.
inline constexpr UINT TBM_SETPOS = 0x0405;
// wParam redraw, lParam MAKELONG(minimum, maximum); the position is clamped into it.
inline constexpr UINT TBM_SETRANGE = 0x0406;
// wParam the distance between ticks.
inline constexpr UINT TBM_SETTICFREQ = 0x0414;
// lParam the step of Page Up, Page Down and clicks beside the thumb; answers the old one.
inline constexpr UINT TBM_SETPAGESIZE = 0x0415;
inline constexpr UINT TBM_GETPAGESIZE = 0x0416;
inline constexpr WORD TB_LINEUP = 0;
inline constexpr WORD TB_LINEDOWN = 1;
inline constexpr WORD TB_PAGEUP = 2;
inline constexpr WORD TB_PAGEDOWN = 3;
inline constexpr WORD TB_THUMBTRACK = 5;
inline constexpr WORD TB_TOP = 6;
inline constexpr WORD TB_BOTTOM = 7;
inline constexpr WORD TB_ENDTRACK = 8;

// Tab controls: a strip of tabs over a framed area that the dialog's pages cover. A
// click on another tab sends WM_NOTIFY TCN_SELCHANGE to the parent; TCM_SETCURSEL does
// not.
inline constexpr UINT TCIF_TEXT = 0x0001;
struct TCITEMA {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
inline constexpr UINT TCM_GETITEMCOUNT = 0x1304;
// wParam the index (past the end appends), lParam the TCITEMA; answers the new index or
// -1.
inline constexpr UINT TCM_INSERTITEMA = 0x1307;
// Answers the selected index, or -1 when none.
inline constexpr UINT TCM_GETCURSEL = 0x130B;
// wParam the index; -1 and an index out of range leave no tab selected. Answers the
// previous selection.
inline constexpr UINT TCM_SETCURSEL = 0x130C;
