#pragma once

#include "platform/ui/UiTypes.h"
#include "platform/win/Bitmap.h"

// Pictures for the previews and icon buttons. User-interface thread.
//
// Bitmaps are 24-bit colour pictures owned by whoever made them (DeleteObject); icons
// belong to the module and live as long as the program. A control showing a bitmap that
// has been deleted shows nothing.

// A device context stands for the screen's pixel format; every window has the same one.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC context);

// A black picture of that size; null when a side is below 1 or memory runs out.
HBITMAP CreateCompatibleBitmap(HDC context, int width, int height);

// Copies 24-bit rows (BI_RGB, blue green red, each row padded to 4 bytes) into the
// bitmap. A positive biHeight means the rows are stored bottom-up, a negative one
// top-down. startScan and lines count rows of the source in its stored order. The rows
// land from the bitmap's top (top-down source) or bottom (bottom-up source); what lies
// outside the bitmap is dropped. Answers the rows copied; 0 for another format, a null
// argument or a deleted bitmap.
inline constexpr UINT DIB_RGB_COLORS = 0;
int SetDIBits(HDC context, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);

// Frees a bitmap; FALSE for anything else (and for one already freed).
BOOL DeleteObject(HGDIOBJ object);

// An icon or bitmap resource of the module (null: the program's), named by
// MAKEINTRESOURCEA(id). Icons: LR_DEFAULTSIZE (or a size of 0) gives 32 x 32 pixels;
// every icon is shared (as with LR_SHARED): the same handle comes back each time and is
// never freed. Bitmaps are made anew each time and freed with DeleteObject. Null when
// the module has no such resource or its file does not load.
inline constexpr UINT LR_DEFAULTSIZE = 0x0040;
inline constexpr UINT LR_SHARED = 0x8000;
HGDIOBJ LoadImageA(HINSTANCE module, LPCSTR name, UINT type, int width, int height, UINT flags);

// Size of a bitmap in pixels; false for a deleted one.
bool GetBitmapSize(HBITMAP bitmap, int* width, int* height);
