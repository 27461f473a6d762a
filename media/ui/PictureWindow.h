#pragma once

#include "media/image/Image.h"
#include "platform/ui/PictureWindows.h"

// Shows the picture in the picture window of that name (platform/ui/PictureWindows.h),
// as the image library's own call did: nothing when no window of that name is open or
// the picture holds no pixels. The window takes the picture's size.
void cvShowImage(const char* name, const Image* image);
