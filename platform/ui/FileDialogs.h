#pragma once

#include "platform/ui/UiTypes.h"

// The file-open picker, through the desktop hooks (platform/win/DesktopHooks.h) so that
// tests answer it. User-interface thread.

inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    // Pairs of a description and a pattern ("*.bmp;*.jpg;"), each ended by a terminator,
    // the list by an empty text; only the patterns filter. Null or empty: every file.
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    // In: the name the picker starts with (may be empty). Out: the chosen path.
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    // Added, after a full stop, to a chosen name that has no extension.
    LPCSTR lpstrDefExt;
};

// TRUE when the user chose a file: its full path is then in lpstrFile. Any name may be
// chosen, also a new one, unless Flags hold OFN_FILEMUSTEXIST; no question is asked
// before an existing file is chosen. A chosen path that does not fit nMaxFile bytes with
// its terminator is refused: FALSE, and lpstrFile stays as it was.
BOOL GetOpenFileNameA(OPENFILENAMEA* request);
