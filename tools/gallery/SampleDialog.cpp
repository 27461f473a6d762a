#include "tools/gallery/SampleDialog.h"

#include "platform/ui/Gdi.h"
#include "platform/ui/WindowServices.h"

#include <vector>

namespace {

constexpr int kPathLabel = 901;
constexpr int kPathField = 902;
constexpr int kSelectButton = 903;
constexpr int kPlayButton = 904;
constexpr int kPreviewButton = 905;
constexpr int kSizeLabel = 906;
constexpr int kSizeList = 907;
constexpr int kDelayLabel = 908;
constexpr int kDelayTrackbar = 909;
constexpr int kApplyButton = 910;
constexpr int kTabs = 911;
constexpr int kStatusLine = 912;
constexpr int kProgressLine = 913;
constexpr int kMarkIcon = 914;
constexpr int kBanner = 915;
constexpr int kNotice = 916;

constexpr int kMenu = 920;
constexpr int kFolderIcon = 921;
constexpr int kPlayIcon = 922;
constexpr int kMarkImage = 923;
constexpr int kBannerImage = 924;

constexpr const char* kSizes[] = {"100%", "110%", "120%", "130%", "140%", "150%"};

constexpr ControlResource kControls[] = {
    {kPathLabel, ControlKind::Static, "&Input File", 7, 7, 60, 10},
    {kPathField, ControlKind::Edit, "", 7, 19, 160, 14, ES_AUTOHSCROLL | WS_BORDER,
     WS_EX_ACCEPTFILES},
    {kSelectButton, ControlKind::Button, "Select File", 169, 16, 22, 20, BS_ICON},
    {kPlayButton, ControlKind::Button, "Play", 191, 16, 22, 20, BS_ICON},
    {kPreviewButton, ControlKind::Button, "Click to View at Original Size", 7, 40, 100, 75,
     BS_BITMAP},
    {kSizeLabel, ControlKind::Static, "&Face Size", 115, 42, 50, 20},
    {kSizeList, ControlKind::DropList, "", 165, 42, 60, 120, CBS_DROPDOWNLIST | WS_VSCROLL, 0,
     kSizes},
    {kDelayLabel, ControlKind::Static, "Audio &Delay\r\n5.0 sec", 115, 64, 50, 20},
    {kDelayTrackbar, ControlKind::Trackbar, "Slider1", 165, 64, 80, 15, TBS_NOTICKS},
    {kApplyButton, ControlKind::Button, "&Apply", 115, 95, 40, 15},
    {IDOK, ControlKind::Button, "&Close", 205, 95, 40, 15, BS_DEFPUSHBUTTON},
    {kTabs, ControlKind::Tab, "", 7, 122, 238, 40},
    {kMarkIcon, ControlKind::Static, "", 250, 7, 20, 20, SS_ICON, 0, {}, kMarkImage},
    {kNotice, ControlKind::Static, "Sample of every control kind", 250, 30, 60, 20},
    {kBanner, ControlKind::Static, "", 250, 55, 107, 25, SS_BITMAP, 0, {}, kBannerImage},
    {kStatusLine, ControlKind::Static, "", 1, 168, 200, 12, SS_LEFTNOWORDWRAP | SS_SUNKEN},
    {kProgressLine, ControlKind::Static, "", 203, 168, 160, 12, SS_LEFTNOWORDWRAP | SS_SUNKEN},
};

constexpr DialogResource kDialog{
    .id = kSampleDialogId,
    .caption = "Layer Sample",
    .cx = 365,
    .cy = 182,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER | WS_VISIBLE,
    .menu = kMenu,
    .controls = kControls,
};

constexpr MenuItemResource kFileItems[] = {
    {"&Open Project", 0xE101},        kMenuSeparator, {"&Save Project", 0xE103},
    {"Save Project &As ...", 0xE104}, kMenuSeparator, {"E&xit", 0xE141}};
constexpr MenuItemResource kHelpItems[] = {{"&About", 0xE140}};
constexpr MenuPopupResource kPopups[] = {{"&File", kFileItems}, {"&Help", kHelpItems}};
constexpr MenuResource kMenuResource{kMenu, kPopups};

constexpr const DialogResource* kDialogs[] = {&kDialog};
constexpr const MenuResource* kMenus[] = {&kMenuResource};
constexpr ImageResource kImages[] = {
    {kFolderIcon, ImageKind::Icon, ":/gallery/Folder.png"},
    {kPlayIcon, ImageKind::Icon, ":/gallery/Play.png"},
    {kMarkImage, ImageKind::Icon, ":/gallery/Mark.png"},
    {kBannerImage, ImageKind::Bitmap, ":/gallery/Banner.png"},
};

void SetIcon(HWND dialog, int button, int icon)
{
    HGDIOBJ image = LoadImageA(&kSampleModule, MAKEINTRESOURCEA(static_cast<WORD>(icon)),
                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
    SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

// A preview the size of the button: a colour ramp, rows bottom-up as a video frame's.
void ShowPreview(HWND dialog)
{
    RECT client{};
    HWND button = GetDlgItem(dialog, kPreviewButton);
    GetClientRect(button, &client);
    const int width = client.right - client.left + 1;
    const int height = client.bottom - client.top + 1;
    HDC context = GetDC(button);
    HBITMAP bitmap = CreateCompatibleBitmap(context, width, height);
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> rows(static_cast<std::size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* pixel = &rows[static_cast<std::size_t>(y) * stride + 3 * x];
            pixel[0] = static_cast<unsigned char>(255 * y / height);
            pixel[1] = static_cast<unsigned char>(160);
            pixel[2] = static_cast<unsigned char>(255 * x / width);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBits(context, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(button, context);
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

}  // namespace

const ResourceModule kSampleModule{"LayerSample", kDialogs, kMenus, kImages};

void FillSampleDialog(HWND dialog)
{
    SetDlgItemTextA(dialog, kPathField, "/home/user/Videos/VideoTemplate/Dancer.avi");
    SetIcon(dialog, kSelectButton, kFolderIcon);
    SetIcon(dialog, kPlayButton, kPlayIcon);
    ShowPreview(dialog);
    SendDlgItemMessageA(dialog, kSizeList, CB_SETCURSEL, 2, 0);
    SendDlgItemMessageA(dialog, kDelayTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 1000));
    SendDlgItemMessageA(dialog, kDelayTrackbar, TBM_SETPOS, TRUE, 50);
    char first[] = "AVI to Files";
    char second[] = "Files to AVI";
    TCITEMA tab{TCIF_TEXT, 0, 0, first, 0, -1, 0};
    SendDlgItemMessageA(dialog, kTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
    tab.pszText = second;
    SendDlgItemMessageA(dialog, kTabs, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&tab));
    SendDlgItemMessageA(dialog, kTabs, TCM_SETCURSEL, 0, 0);
    SetDlgItemTextA(dialog, kStatusLine, "/home/user/Videos/VideoTemplate/Dancer.avi");
    SetDlgItemTextA(dialog, kProgressLine, "Frame 64 of 127 (50%)");
}

void EmptySampleDialog(HWND dialog)
{
    DeleteObject(reinterpret_cast<HBITMAP>(
        SendDlgItemMessageA(dialog, kPreviewButton, BM_SETIMAGE, IMAGE_BITMAP, 0)));
}
