#pragma once

#include "platform/ui/Messages.h"

// The numbers Gresmont's dialogs, pages, menu and pictures are known by, and the window
// messages that pass between the pages, the converters and the main dialog. Their own
// namespace keeps them apart from Tavrino's, beside which the dialog snapshots show them.

namespace gresmont {

// Dialogs and pages.
inline constexpr int kMainDialogId = 100;
inline constexpr int kAboutDialogId = 101;
inline constexpr int kAviToFilesPageId = 102;
inline constexpr int kFilesToAviPageId = 103;
inline constexpr int kMainMenuId = 110;

// Pictures.
inline constexpr int kAboutBitmapId = 120;
inline constexpr int kProgramIconId = 130;
inline constexpr int kExitIconId = 131;
inline constexpr int kSelectFileIconId = 132;
inline constexpr int kSelectFolderIconId = 133;
inline constexpr int kPlayIconId = 134;
inline constexpr int kStartIconId = 135;
inline constexpr int kStopIconId = 136;
inline constexpr int kOpenFileIconId = 137;
inline constexpr int kOpenFolderIconId = 138;

// The main dialog's controls (the Exit button is the cancel command, IDCANCEL).
inline constexpr int kTabControl = 1000;
inline constexpr int kStartButton = 1108;
inline constexpr int kStopButton = 1109;
inline constexpr int kFieldLine = 1400;
inline constexpr int kProgressLine = 1401;

// The pages' controls: both pages number them alike, so that the shared code can address
// either page's fields.
inline constexpr int kSelectAviButton = 1100;
inline constexpr int kPlayButton = 1101;
inline constexpr int kSelectFolderButton = 1102;
inline constexpr int kSelectFirstButton = 1103;
inline constexpr int kSelectLastButton = 1104;
inline constexpr int kOpenFolderButton = 1105;
inline constexpr int kOpenFirstButton = 1106;
inline constexpr int kOpenLastButton = 1107;
inline constexpr int kStepList = 1200;
inline constexpr int kRateList = 1201;
inline constexpr int kCompressorList = 1202;
inline constexpr int kAviField = 1300;
inline constexpr int kFolderField = 1301;
inline constexpr int kFirstField = 1302;
inline constexpr int kLastField = 1303;

// Menu commands.
inline constexpr UINT kOpenProjectCommand = 57601;
inline constexpr UINT kSaveProjectCommand = 57603;
inline constexpr UINT kSaveProjectAsCommand = 57604;
inline constexpr UINT kAboutCommand = 57664;
inline constexpr UINT kExitCommand = 57665;
inline constexpr UINT kHelpCommand = 57668;

// Posted by the pages to the main dialog (lParam 0). kUpdateState's wParam is the mode;
// kFocusText's wParam the control the page saw a key or click for.
inline constexpr UINT kUpdateState = WM_APP + 1002;
inline constexpr UINT kFocusText = WM_APP + 1003;
enum UpdateMode : WPARAM { kRefresh = 0, kStarted = 1, kChanged = 2, kStopped = 3 };

// Posted by the converters (lParam the converter): the graph has events; a frame is done
// (wParam its index); frames are counted (wParam the count); counting goes on (wParam 1)
// or converting (wParam 0); a run ended (wParam the frames delivered).
inline constexpr UINT kGraphNotify = 0xBEE5;
inline constexpr UINT kFrameDone = 0xBEE6;
inline constexpr UINT kCountDone = 0xBEE7;
inline constexpr UINT kActivityText = 0xBEE8;
inline constexpr UINT kConvertDone = 0xBEE9;

}  // namespace gresmont
