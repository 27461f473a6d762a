#pragma once

#include "platform/win/Types.h"
#include "platform/win/Window.h"

// Where a video is placed in its owner window.

inline constexpr long WS_CHILD = 0x40000000;
inline constexpr long WS_CLIPSIBLINGS = 0x04000000;
inline constexpr long WS_CLIPCHILDREN = 0x02000000;

// The window's inner area, at (0, 0). User-interface thread. FALSE, with rect untouched,
// for a handle that does not exist or covers no area (a message-only window).
BOOL GetClientRect(HWND window, RECT* rect);
