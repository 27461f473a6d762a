#pragma once

#include "platform/ui/UiTypes.h"

// Draws the top-level window that holds window (its frame's content: menu bar and client
// area) offscreen and writes it as a PNG file; false when there is no such window or the
// file cannot be written. For looking at dialogs without a display. User-interface
// thread.
bool SaveWindowPicture(HWND window, const char* pngPath);
