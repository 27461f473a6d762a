#pragma once

#include "platform/ui/Resources.h"

// Dialog resources for tests of the user-interface layer and of the dialogs built on it:
// a top-level dialog with one control of each kind and a menu, and a page.
namespace testdialogs {

inline constexpr int kProbeDialog = 1;
inline constexpr int kPage = 3;
inline constexpr int kNoDefaultDialog = 4;
inline constexpr int kProbeMenu = 2;

inline constexpr int kLabel = 10;
inline constexpr int kDropEdit = 11;
inline constexpr int kPlainEdit = 12;
inline constexpr int kPushButton = 13;
inline constexpr int kIconButton = 14;
inline constexpr int kDropList = 15;
inline constexpr int kTrackbar = 16;
inline constexpr int kTabs = 17;
inline constexpr int kStatusLine = 18;
inline constexpr int kPageEdit = 31;
inline constexpr int kPageButton = 32;
inline constexpr UINT kAboutCommand = 0xE140;
inline constexpr UINT kOpenCommand = 0xE101;

inline constexpr const char* kSizes[] = {"100%", "110%", "120%", "Apple", "apricot"};

inline constexpr ControlResource kProbeControls[] = {
    {kLabel, ControlKind::Static, "&Label", 5, 5, 60, 10},
    {kDropEdit, ControlKind::Edit, "", 5, 20, 160, 14, ES_AUTOHSCROLL | WS_BORDER,
     WS_EX_ACCEPTFILES},
    {kPlainEdit, ControlKind::Edit, "", 5, 40, 160, 14, ES_AUTOHSCROLL | WS_BORDER},
    {kPushButton, ControlKind::Button, "Push", 170, 20, 40, 14},
    {kIconButton, ControlKind::Button, "Icon Caption", 170, 40, 22, 20, BS_ICON},
    {kDropList, ControlKind::DropList, "", 5, 60, 100, 80, CBS_DROPDOWNLIST, 0, kSizes},
    {kTrackbar, ControlKind::Trackbar, "Slider1", 5, 80, 100, 15, TBS_NOTICKS},
    {kTabs, ControlKind::Tab, "", 5, 100, 200, 60},
    {kStatusLine, ControlKind::Static, "", 5, 165, 200, 12, SS_LEFTNOWORDWRAP | SS_SUNKEN},
    {IDOK, ControlKind::Button, "OK", 215, 20, 40, 14, BS_DEFPUSHBUTTON},
    {IDCANCEL, ControlKind::Button, "Cancel", 215, 40, 40, 14},
};

inline constexpr DialogResource kProbe{
    .id = kProbeDialog,
    .caption = "Probe",
    .cx = 260,
    .cy = 180,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
    .menu = kProbeMenu,
    .controls = kProbeControls,
};

inline constexpr ControlResource kPageControls[] = {
    {kPageEdit, ControlKind::Edit, "", 5, 5, 100, 12, ES_AUTOHSCROLL | WS_BORDER,
     WS_EX_ACCEPTFILES},
    {kPageButton, ControlKind::Button, "Page Button", 110, 3, 60, 14},
};

inline constexpr DialogResource kPageResource{
    .id = kPage,
    .caption = "",
    .cx = 190,
    .cy = 50,
    .style = WS_CHILD | DS_CONTROL,
    .exStyle = WS_EX_CONTROLPARENT,
    .controls = kPageControls,
};

// A dialog without a default button, as a main dialog whose way out is its cancel button.
inline constexpr ControlResource kNoDefaultControls[] = {
    {kPlainEdit, ControlKind::Edit, "", 5, 5, 100, 12, ES_AUTOHSCROLL | WS_BORDER},
    {IDCANCEL, ControlKind::Button, "Exit", 110, 3, 40, 14},
};

inline constexpr DialogResource kNoDefault{
    .id = kNoDefaultDialog,
    .caption = "No Default",
    .cx = 160,
    .cy = 25,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
    .controls = kNoDefaultControls,
};

inline constexpr MenuItemResource kFileItems[] = {
    {"&Open", kOpenCommand}, kMenuSeparator, {"&About", kAboutCommand}};
inline constexpr MenuPopupResource kPopups[] = {{"&File", kFileItems}};
inline constexpr MenuResource kMenu{kProbeMenu, kPopups};

inline constexpr const DialogResource* kDialogs[] = {&kProbe, &kPageResource, &kNoDefault};
inline constexpr const MenuResource* kMenus[] = {&kMenu};
inline const ResourceModule kModule{"Probe", kDialogs, kMenus};

}  // namespace testdialogs
