#include "tools/gallery/EditorSnapshots.h"

#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "editor/app/FilesToAVIDlg.h"
#include "editor/app/PageLayout.h"
#include "platform/ui/DialogWindows.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/WindowServices.h"

using namespace gresmont;

namespace {

void SetButtonIcon(HWND dialog, int button, int icon)
{
    HGDIOBJ image = LoadImageA(&kEditorModule, MAKEINTRESOURCEA(static_cast<WORD>(icon)),
                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
    SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

// The tabs, the button icons and the page of the tab, placed as the program places it.
HWND ShowPage(HWND dialog, int tab, int pageId, const char* fieldLine, const char* progress)
{
    SetButtonIcon(dialog, kStartButton, kStartIconId);
    SetButtonIcon(dialog, kStopButton, kStopIconId);
    SetButtonIcon(dialog, IDCANCEL, kExitIconId);
    EnableWindow(GetDlgItem(dialog, kStopButton), FALSE);
    InsertPageTabs(GetDlgItem(dialog, kTabControl));
    SendDlgItemMessageA(dialog, kTabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    SetDlgItemTextA(dialog, kFieldLine, fieldLine);
    SetDlgItemTextA(dialog, kProgressLine, progress);

    RECT tabs{};
    GetWindowRect(GetDlgItem(dialog, kTabControl), &tabs);
    const RECT place = PageRectangle(tabs);
    HWND page = CreateDialogWindow(&kEditorModule, pageId, dialog, nullptr, false);
    MoveWindow(page, place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
    SetPageIcons(page);
    FillStepList(page);
    ShowWindow(page, SW_SHOW);
    return page;
}

}  // namespace

void FillEditorWithAviToFiles(HWND dialog)
{
    HWND page = ShowPage(dialog, 0, kAviToFilesPageId, "/home/user/Gresmont/VideoTemplateImages",
                         "Frame 64 of 127 (50%)");
    SetDlgItemTextA(page, kAviField, "/home/user/Gresmont/VideoTemplate/Dancer.avi");
    SetDlgItemTextA(page, kFolderField, "/home/user/Gresmont/VideoTemplateImages");
    SetDlgItemTextA(page, kFirstField, "Dancer00000.bmp");
}

void FillEditorWithFilesToAvi(HWND dialog)
{
    HWND page = ShowPage(dialog, 1, kFilesToAviPageId, "Dancer00126.bmp", "127 frames");
    FillFrameRateList(page);
    FillVideoCompressorList(page);
    SendDlgItemMessageA(page, kCompressorList, CB_SETCURSEL, 1, 0);
    SetDlgItemTextA(page, kFolderField, "/home/user/Gresmont/VideoTemplateImages");
    SetDlgItemTextA(page, kFirstField, "Dancer00000.bmp");
    SetDlgItemTextA(page, kLastField, "Dancer00126.bmp");
    SetDlgItemTextA(page, kAviField, "/home/user/Gresmont/VideoTemplate/091231_235959.avi");
}
