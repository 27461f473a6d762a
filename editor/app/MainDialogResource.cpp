#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"

using namespace gresmont;

namespace {

constexpr DWORD kIconButton = BS_PUSHBUTTON | BS_ICON;
constexpr DWORD kStatusLine = SS_LEFTNOWORDWRAP | SS_SUNKEN;

constexpr ControlResource kControls[] = {
    {kTabControl, ControlKind::Tab, "", 0, 2, 299, 180},
    {kStartButton, ControlKind::Button, "&Start", 191, 185, 22, 20, kIconButton},
    {kStopButton, ControlKind::Button, "&Stop", 213, 185, 22, 20, kIconButton},
    {IDCANCEL, ControlKind::Button, "&Exit Gresmont", 277, 185, 22, 20, BS_DEFPUSHBUTTON | BS_ICON},
    {kFieldLine, ControlKind::Static, "", 0, 208, 190, 12, kStatusLine},
    {kProgressLine, ControlKind::Static, "", 191, 208, 107, 12, kStatusLine},
};

constexpr MenuItemResource kFileItems[] = {
    {"&Open Project", kOpenProjectCommand},
    kMenuSeparator,
    {"&Save Project", kSaveProjectCommand},
    {"Save Project &As ...", kSaveProjectAsCommand},
    kMenuSeparator,
    {"&Exit Gresmont", kExitCommand},
};
constexpr MenuItemResource kHelpItems[] = {
    {"&Using Gresmont", kHelpCommand},
    kMenuSeparator,
    {"&About Gresmont", kAboutCommand},
};
constexpr MenuPopupResource kPopups[] = {{"&File", kFileItems}, {"&Help", kHelpItems}};

}  // namespace

extern const DialogResource kMainDialogResource{
    .id = kMainDialogId,
    .caption = "Gresmont",
    .cx = 300,
    .cy = 221,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT |
             WS_VISIBLE,
    .exStyle = WS_EX_APPWINDOW,
    .menu = kMainMenuId,
    .controls = kControls,
};

extern const MenuResource kMainMenuResource{kMainMenuId, kPopups};
