#include "platform/ui/DropFiles.h"
#include "platform/ui/qt/UiWindow.h"

bool DropFilesOnWindow(HWND window, const std::vector<std::string>& paths)
{
    UiWindow* target = UiWindow::FromHandle(window);
    if (!target || !(target->exStyle() & WS_EX_ACCEPTFILES) || paths.empty())
        return false;
    DispatchScope scope;
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDrop(paths)), 0);
    return true;
}
