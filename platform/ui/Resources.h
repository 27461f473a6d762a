#pragma once

#include "platform/ui/Controls.h"

#include <span>

// Dialog resources as plain tables, one per dialog, next to that dialog's code; a
// program's tables together form its resource module.
//
// Places and sizes are in dialog units of the dialog font: a horizontal unit is a quarter
// of the font's average character width and a vertical unit an eighth of its height.
// The programs were laid out for base units of 6 x 13 pixels at 96 dots per inch, so a
// unit is 1.5 x 1.625 pixels there, scaled with the screen's dots per inch
// (platform/ui/DialogUnits.h); the layer draws its texts in a font that fits them.
//
// Example, a label, a path field that takes dropped files, an icon button and the
// default button:
//
//     constexpr ControlResource kPickerControls[] = {
//         {IDC_STATIC, ControlKind::Static, "&Audio", 5, 5, 100, 10},
//         {1103, ControlKind::Edit, "", 5, 20, 160, 14, ES_AUTOHSCROLL | WS_BORDER,
//          WS_EX_ACCEPTFILES},
//         {1031, ControlKind::Button, "Select Audio", 170, 17, 22, 20, BS_ICON},
//         {IDOK, ControlKind::Button, "OK", 200, 20, 50, 14, BS_DEFPUSHBUTTON},
//     };
//     constexpr DialogResource kPicker{
//         .id = 105, .caption = "Audio", .cx = 260, .cy = 40,
//         .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .controls = kPickerControls};
//
// and the module lists it: {.dialogs = {&kPicker, ...}, ...}.

enum class ControlKind { Static, Button, Edit, DropList, Trackbar, Tab };

// One control. The table's order is the tab order (and the order in which the controls
// are made); every control but a static is a tab stop. Controls start visible and
// enabled, those with WS_DISABLED disabled.
struct ControlResource {
    int id;
    ControlKind kind;
    const char* text;
    // Place and size in dialog units, in the dialog's client area. A drop list's height
    // includes its dropped list.
    short x;
    short y;
    short cx;
    short cy;
    DWORD style = 0;
    DWORD exStyle = 0;
    // A drop list's first items (the dialog's initialisation data), in order.
    std::span<const char* const> items = {};
    // SS_ICON and SS_BITMAP statics: the icon or bitmap resource shown.
    int image = 0;
};

// A dialog: top-level (WS_POPUP, optionally with WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX,
// DS_CENTER) or a page inside another dialog (WS_CHILD with DS_CONTROL). The size is its
// client area's. A top-level dialog appears on the task bar.
struct DialogResource {
    int id;
    const char* caption;
    short cx;
    short cy;
    DWORD style;
    DWORD exStyle = 0;
    // The menu resource shown above the client area, 0 for none.
    int menu = 0;
    std::span<const ControlResource> controls = {};
};

// A menu bar: pop-ups of items. An item without text is a separator.
struct MenuItemResource {
    const char* text;
    UINT id;
};
inline constexpr MenuItemResource kMenuSeparator{nullptr, 0};
struct MenuPopupResource {
    const char* text;
    std::span<const MenuItemResource> items;
};
struct MenuResource {
    int id;
    std::span<const MenuPopupResource> popups;
};

// An icon or a bitmap: a PNG file compiled into the program (a Qt resource path such
// as ":/creator/icons/Create.png", see tavrino_ui_resources in the build). Icons are
// drawn at the size asked for; bitmaps keep the file's size.
enum class ImageKind { Icon, Bitmap };
struct ImageResource {
    int id;
    ImageKind kind;
    const char* path;
};

struct ResourceModule {
    const char* name;
    std::span<const DialogResource* const> dialogs = {};
    std::span<const MenuResource* const> menus = {};
    std::span<const ImageResource> images = {};
};

// The module that calls given a null HINSTANCE load from: the program's, set once at its
// start (and by tests and tools that show another program's dialogs). User-interface
// thread.
void SetResourceModule(HINSTANCE module);
HINSTANCE GetResourceModule();

// Lookups in a module (null: the current one); null when it has no such resource.
const DialogResource* FindDialogResource(HINSTANCE module, int id);
const MenuResource* FindMenuResource(HINSTANCE module, int id);
const ImageResource* FindImageResource(HINSTANCE module, int id, ImageKind kind);
