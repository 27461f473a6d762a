#include "creator/app/AboutDlgResource.h"

#include "creator/app/TavrinoResources.h"

namespace {

constexpr ControlResource kControls[] = {
    {IDC_STATIC, ControlKind::Static, "", 7, 7, 20, 20, SS_ICON, 0, {}, kMainIcon},
    {IDC_STATIC, ControlKind::Static, kAboutVersionText, 40, 10, 119, 8, SS_LEFTNOWORDWRAP},
    {IDC_STATIC, ControlKind::Static, kAboutNoticeText, 40, 34, 188, 8, SS_LEFTNOWORDWRAP},
    {IDC_STATIC, ControlKind::Static, "", 40, 50, 107, 25, SS_BITMAP, 0, {}, kAboutBanner},
    {IDOK, ControlKind::Button, "OK", 178, 7, 50, 14, BS_DEFPUSHBUTTON},
};

}  // namespace

const DialogResource kAboutDialog{
    .id = kAboutDialogId,
    .caption = "About Tavrino",
    .cx = 235,
    .cy = 82,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE,
    .controls = kControls,
};
