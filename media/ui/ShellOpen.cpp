#include "media/ui/ShellOpen.h"

#include "media/PathUtils.h"
#include "platform/mfc/WinApp.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WindowServices.h"
#include "platform/win/TextCompare.h"

#include <string>

namespace {

// ShellExecuteA's answers above this mean success.
constexpr INT_PTR kShellSucceeded = 32;

}  // namespace

int TellCannotOpen(HWND owner, const char* verb, const char* kind, const char* target,
                   const char* tool)
{
    const std::string text = std::string("Cannot ") + verb + " the " + kind + ":\r\n\r\n  " +
                             target + "\r\n\r\nNo " + tool + " or invalid " + kind;
    // Without an application's name the box takes the program's.
    const CWinApp* app = AfxGetApp();
    return MessageBoxA(owner, text.c_str(), app && *app->m_pszAppName ? app->m_pszAppName : nullptr,
                       MB_OK);
}

INT_PTR OpenOrTell(HWND owner, const char* verb, const char* kind, const char* target,
                   const char* tool)
{
    if (!target || !*SkipSpaces(target))
        return 0;
    INT_PTR opened = ShellExecuteA(owner, verb, target, nullptr, nullptr, SW_SHOW);
    if (opened > kShellSucceeded)
        return opened;
    // A second "open" would run the desktop's opener again to the same end.
    if (lstrcmpiA(verb, "open") != 0) {
        opened = ShellExecuteA(owner, "open", target, nullptr, nullptr, SW_SHOW);
        if (opened > kShellSucceeded)
            return opened;
    }
    return TellCannotOpen(owner, verb, kind, target, tool);
}

bool OpenFolderOrTell(HWND owner, const char* folder)
{
    const INT_PTR opened = ShellExecuteA(owner, "open", folder, nullptr, nullptr, SW_SHOW);
    if (opened == SE_ERR_NOASSOC)
        TellCannotOpen(owner, "open", "folder", folder, "File Manager");
    return opened > kShellSucceeded || opened == SE_ERR_NOASSOC;
}
