#pragma once

#include "platform/ui/Shell.h"

#include <string>
#include <vector>

// Drops local files onto a window, as the desktop does when the user lets go of them
// over it: a window whose style has WS_EX_ACCEPTFILES gets WM_DROPFILES with a drop of
// these paths (in this order). False, with nothing sent, for any other window or no
// paths. User-interface thread; the layer's own drop handling goes through here too.
bool DropFilesOnWindow(HWND window, const std::vector<std::string>& paths);

// A drop of these paths, released by DragFinish.
HDROP CreateDrop(std::vector<std::string> paths);
