#include "editor/app/PageLayout.h"

#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "editor/engine/SettingRanges.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/WindowServices.h"

#include <string>

using namespace gresmont;

namespace {

struct ButtonIcon {
    int button;
    int icon;
};

constexpr ButtonIcon kButtonIcons[] = {
    {kSelectAviButton, kSelectFileIconId},      {kSelectFirstButton, kSelectFileIconId},
    {kSelectLastButton, kSelectFileIconId},     {kPlayButton, kPlayIconId},
    {kSelectFolderButton, kSelectFolderIconId}, {kOpenFolderButton, kOpenFolderIconId},
    {kOpenFirstButton, kOpenFileIconId},        {kOpenLastButton, kOpenFileIconId},
};

constexpr int kDefaultStepIndex = 9;

}  // namespace

RECT PageRectangle(const RECT& tab)
{
    const double w = tab.right - tab.left - 1;
    const double h = tab.bottom - tab.top - 1;
    const LONG x = static_cast<LONG>(0.01 * w);
    const LONG y = static_cast<LONG>(0.1 * h);
    return RECT{x, y, x + static_cast<LONG>(0.98 * w), y + static_cast<LONG>(0.9 * h)};
}

void InsertPageTabs(HWND tabControl)
{
    char aviToFiles[] = "AVI to Files";
    char filesToAvi[] = "Files to AVI";
    TCITEMA item{TCIF_TEXT, 0, 0, aviToFiles, 0, -1, 0};
    SendMessageA(tabControl, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = filesToAvi;
    SendMessageA(tabControl, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
}

void SetPageIcons(HWND page)
{
    for (const ButtonIcon& entry : kButtonIcons) {
        HWND button = GetDlgItem(page, entry.button);
        if (!button)
            continue;
        HGDIOBJ icon = LoadImageA(&kEditorModule, MAKEINTRESOURCEA(static_cast<WORD>(entry.icon)),
                                  IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
        SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
}

void FillStepList(HWND page)
{
    SendDlgItemMessageA(page, kStepList, CB_RESETCONTENT, 0, 0);
    for (int step = 1; step <= kLargestFileStep; ++step) {
        const std::string item = std::to_string(step);
        SendDlgItemMessageA(page, kStepList, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendDlgItemMessageA(page, kStepList, CB_SETCURSEL, kDefaultStepIndex, 0);
}
