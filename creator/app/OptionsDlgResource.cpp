#include "creator/app/OptionsDlgResource.h"

namespace {

// The face-size list's initialisation data: 100% to 200% in steps of ten.
constexpr const char* kFaceSizes[] = {"100%", "110%", "120%", "130%", "140%", "150%",
                                      "160%", "170%", "180%", "190%", "200%"};

constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL;

constexpr ControlResource kControls[] = {
    {kCloseOptions, ControlKind::Button, "&Close", 190, 108, 40, 15, BS_DEFPUSHBUTTON},
    {kAudioCompressorLabel, ControlKind::Static, "&Audio Compression", 7, 10, 50, 20},
    {kAudioCompressorList, ControlKind::DropList, "", 60, 10, 130, 200, kDropList},
    {kVideoCompressorLabel, ControlKind::Static, "&Video Compression", 7, 35, 50, 20},
    {kVideoCompressorList, ControlKind::DropList, "", 60, 35, 130, 200, kDropList},
    {kFaceSizeLabel, ControlKind::Static, "&Face Size", 7, 60, 50, 20},
    {kFaceSizeList, ControlKind::DropList, "", 60, 60, 130, 200, kDropList, 0, kFaceSizes},
    {kDelayLabel, ControlKind::Static, "Audio &Delay", 7, 85, 50, 20},
    {kDelayTrackbar, ControlKind::Trackbar, "Slider1", 60, 85, 130, 15, TBS_NOTICKS},
    {kApplyDelay, ControlKind::Button, "&Apply", 190, 85, 40, 15},
};

}  // namespace

const DialogResource kOptionsDialog{
    .id = kOptionsDialogId,
    .caption = "Options",
    .cx = 237,
    .cy = 130,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER,
    .controls = kControls,
};
