#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"

using namespace gresmont;

namespace {

constexpr ControlResource kControls[] = {
    {IDC_STATIC, ControlKind::Static, "", 11, 10, 20, 20, SS_ICON, 0, {}, kProgramIconId},
    {IDC_STATIC, ControlKind::Static, "Gresmont Version 1.0", 40, 10, 140, 10, SS_LEFTNOWORDWRAP},
    {IDC_STATIC, ControlKind::Static, "Turns video templates into bitmaps and back.", 40, 22, 196,
     10, SS_LEFTNOWORDWRAP},
    {IDC_STATIC, ControlKind::Static, "", 40, 37, 128, 45, SS_BITMAP, 0, {}, kAboutBitmapId},
    {IDOK, ControlKind::Button, "OK", 186, 68, 50, 14, BS_DEFPUSHBUTTON},
};

}  // namespace

extern const DialogResource kAboutDialogResource{
    .id = kAboutDialogId,
    .caption = "About Gresmont",
    .cx = 246,
    .cy = 90,
    .style =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_VISIBLE,
    .controls = kControls,
};
