#include "creator/app/PlumetaDlgResource.h"

#include "creator/app/TavrinoResources.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/WindowServices.h"

namespace {

constexpr DWORD kPathStyle = ES_AUTOHSCROLL | WS_BORDER;
constexpr DWORD kLineStyle = SS_LEFTNOWORDWRAP | SS_SUNKEN;

// Icon buttons show an icon instead of their text, which stays their tool tip. The table
// lists the controls in their tab order.
constexpr ControlResource kControls[] = {
    {kCreateVideo, ControlKind::Button, "Create Video", 215, 220, 22, 20, BS_ICON},
    {kStopVideo, ControlKind::Button, "Stop Video Creation", 237, 220, 22, 20, BS_ICON},
    {kPlayVideo, ControlKind::Button, "Play Video", 264, 220, 22, 20, BS_ICON},
    {kSelectVideo, ControlKind::Button, "Select Video", 286, 220, 22, 20, BS_ICON},
    {kOpenVideoFolder, ControlKind::Button, "Open Video Folder", 308, 220, 22, 20, BS_ICON},
    {kShowOptions, ControlKind::Button, "Options", 419, 220, 22, 20, BS_ICON},
    {kVisitWebSite, ControlKind::Button, "Get More Video Templates and Audio Files", 446, 220, 22,
     20, BS_ICON},
    {IDCANCEL, ControlKind::Button, "Exit", 473, 220, 22, 20, BS_ICON},

    {kBackgroundLabel, ControlKind::Static, "&Background", 5, 5, 100, 10},
    {kViewBackground, ControlKind::Button, "Click to View Background at Original Size", 5, 20, 160,
     120, BS_BITMAP},
    {kBackgroundPath, ControlKind::Edit, "", 5, 145, 160, 14, kPathStyle, WS_EX_ACCEPTFILES},
    {kEditBackground, ControlKind::Button, "Edit Background", 99, 160, 22, 20, BS_ICON},
    {kSelectBackground, ControlKind::Button, "Select Background", 121, 160, 22, 20, BS_ICON},
    {kOpenBackgroundFolder, ControlKind::Button, "Open Background Folder", 143, 160, 22, 20,
     BS_ICON},

    {kFaceImageLabel, ControlKind::Static, "&Face Image", 170, 5, 100, 10},
    {kViewFaceImage, ControlKind::Button, "Click to View Face Image at Original Size", 170, 20, 160,
     120, BS_BITMAP},
    {kFaceImagePath, ControlKind::Edit, "", 170, 145, 160, 14, kPathStyle, WS_EX_ACCEPTFILES},
    {kEditFaceImage, ControlKind::Button, "Edit Face Image", 264, 160, 22, 20, BS_ICON},
    {kSelectFaceImage, ControlKind::Button, "Select Face Image", 286, 160, 22, 20, BS_ICON},
    {kOpenFaceImageFolder, ControlKind::Button, "Open Face Image Folder", 308, 160, 22, 20,
     BS_ICON},

    {kTemplateLabel, ControlKind::Static, "&Video Template", 335, 5, 100, 10},
    {kTemplatePreview, ControlKind::Button, "Play Video Template", 335, 20, 160, 120, BS_BITMAP},
    {kTemplatePath, ControlKind::Edit, "", 335, 145, 160, 14, kPathStyle, WS_EX_ACCEPTFILES},
    {kPlayTemplate, ControlKind::Button, "Play Video Template", 407, 160, 22, 20, BS_ICON},
    {kEditTemplate, ControlKind::Button, "Edit Video Template", 429, 160, 22, 20, BS_ICON},
    {kSelectTemplate, ControlKind::Button, "Select Video Template", 451, 160, 22, 20, BS_ICON},
    {kOpenTemplateFolder, ControlKind::Button, "Open Video Template Folder", 473, 160, 22, 20,
     BS_ICON},

    {kAudioLabel, ControlKind::Static, "&Audio", 5, 190, 100, 10},
    {kAudioPath, ControlKind::Edit, "", 5, 205, 160, 14, kPathStyle, WS_EX_ACCEPTFILES},
    {kPlayAudio, ControlKind::Button, "Play Audio", 99, 220, 22, 20, BS_ICON},
    {kSelectAudio, ControlKind::Button, "Select Audio", 121, 220, 22, 20, BS_ICON},
    {kOpenAudioFolder, ControlKind::Button, "Open Audio Folder", 143, 220, 22, 20, BS_ICON},

    {kOutputLabel, ControlKind::Static, "&Output Video", 170, 190, 100, 10},
    {kOutputPath, ControlKind::Edit, "", 170, 205, 160, 14, kPathStyle, WS_EX_ACCEPTFILES},

    {kFocusPathLine, ControlKind::Static, "", 1, 245, 335, 14, kLineStyle},
    {kStatusLine, ControlKind::Static, "", 338, 245, 160, 14, kLineStyle},
};

constexpr MenuItemResource kFileItems[] = {
    {"&Open Project", kOpenProjectCommand},
    kMenuSeparator,
    {"&Save Project", kSaveProjectCommand},
    {"Save Project &As ...", kSaveProjectAsCommand},
    kMenuSeparator,
    {"&Exit Tavrino", kExitCommand},
};
constexpr MenuItemResource kHelpItems[] = {
    {"&Using Tavrino", kUsingTavrinoCommand},
    kMenuSeparator,
    {"&About Tavrino", kAboutCommand},
};
constexpr MenuPopupResource kPopups[] = {{"&File", kFileItems}, {"&Help", kHelpItems}};

struct ButtonIcon {
    int icon;
    int button;
};

constexpr ButtonIcon kButtonIcons[] = {
    {kCreateIcon, kCreateVideo},
    {kEditIcon, kEditBackground},
    {kEditIcon, kEditFaceImage},
    {kEditIcon, kEditTemplate},
    {kExitIcon, IDCANCEL},
    {kSelectIcon, kSelectBackground},
    {kSelectIcon, kSelectFaceImage},
    {kSelectIcon, kSelectTemplate},
    {kSelectIcon, kSelectAudio},
    {kSelectIcon, kSelectVideo},
    {kFolderIcon, kOpenBackgroundFolder},
    {kFolderIcon, kOpenFaceImageFolder},
    {kFolderIcon, kOpenTemplateFolder},
    {kFolderIcon, kOpenAudioFolder},
    {kFolderIcon, kOpenVideoFolder},
    {kWebIcon, kVisitWebSite},
    {kOptionsIcon, kShowOptions},
    {kPlayIcon, kPlayTemplate},
    {kPlayIcon, kPlayAudio},
    {kPlayIcon, kPlayVideo},
    {kStopIcon, kStopVideo},
};

}  // namespace

const DialogResource kPlumetaDialog{
    .id = kPlumetaDialogId,
    .caption = "Halvorsk Tavrino Free",
    .cx = 500,
    .cy = 260,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
    .exStyle = WS_EX_APPWINDOW,
    .menu = kPlumetaMenuId,
    .controls = kControls,
};

const MenuResource kPlumetaMenu{kPlumetaMenuId, kPopups};

void PutButtonIcons(HWND dialog, HINSTANCE module)
{
    for (const ButtonIcon& entry : kButtonIcons) {
        HGDIOBJ icon = LoadImageA(module, MAKEINTRESOURCEA(static_cast<WORD>(entry.icon)),
                                  IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
        SendDlgItemMessageA(dialog, entry.button, BM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(icon));
    }
}
