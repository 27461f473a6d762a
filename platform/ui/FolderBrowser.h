#pragma once

#include "platform/com/Unknown.h"
#include "platform/ui/UiTypes.h"

// The folder browser, through the desktop hooks (platform/win/DesktopHooks.h) so that
// tests answer it. User-interface thread.

inline constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
// Sent to the callback, with the browser's window, before the browser shows.
inline constexpr UINT BFFM_INITIALIZED = 1;
// Sent by the callback to the browser's window: wParam TRUE and lParam a path selects
// that folder (the browser opens on it).
inline constexpr UINT BFFM_SETSELECTIONA = 0x0466;

using BFFCALLBACK = int (*)(HWND browser, UINT message, LPARAM parameter, LPARAM data);

struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

struct BROWSEINFOA {
    HWND hwndOwner;
    PCIDLIST_ABSOLUTE pidlRoot;
    LPSTR pszDisplayName;
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
};

// The chosen folder as an item list, or null when the user cancelled. The caller frees
// it with the shell's allocator. pszDisplayName (when given, 260 bytes) receives the
// folder's own name, cut to fit.
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* request);

// The item's path into buffer, which holds 260 bytes (MAX_PATH). An item without a path
// and a path that does not fit are refused: FALSE, and the buffer stays as it was.
inline constexpr int MAX_PATH = 260;
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR buffer);

// The shell's allocator, which frees the item lists SHBrowseForFolderA hands out (and
// nothing else).
struct IMalloc : IUnknown {
    virtual void Free(void* block) = 0;
};
HRESULT SHGetMalloc(IMalloc** allocator);
