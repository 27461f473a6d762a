#pragma once

#include "platform/win/Bitmap.h"
#include "platform/win/Types.h"

// The Win32 types the COM and media layers need: the scalars and RECT, and the bitmap
// header that video formats carry.
