#pragma once

#include "platform/ui/Resources.h"

// Dialog resource 102, Tavrino's main dialog, and its menu 128. One group of controls per
// input and for the output (label, preview, path field, tool buttons), the creation and
// program buttons, the focus-path line and the status line.
inline constexpr int kPlumetaDialogId = 102;
extern const DialogResource kPlumetaDialog;
inline constexpr int kPlumetaMenuId = 128;
extern const MenuResource kPlumetaMenu;

// Background group.
inline constexpr int kBackgroundLabel = 1200;
inline constexpr int kViewBackground = 1000;
inline constexpr int kBackgroundPath = 1100;
inline constexpr int kEditBackground = 1001;
inline constexpr int kSelectBackground = 1002;
inline constexpr int kOpenBackgroundFolder = 1003;
// Face group.
inline constexpr int kFaceImageLabel = 1201;
inline constexpr int kViewFaceImage = 1010;
inline constexpr int kFaceImagePath = 1101;
inline constexpr int kEditFaceImage = 1011;
inline constexpr int kSelectFaceImage = 1012;
inline constexpr int kOpenFaceImageFolder = 1013;
// Template group; its preview button plays the template too.
inline constexpr int kTemplateLabel = 1202;
inline constexpr int kTemplatePreview = 1020;
inline constexpr int kTemplatePath = 1102;
inline constexpr int kPlayTemplate = 1021;
inline constexpr int kEditTemplate = 1022;
inline constexpr int kSelectTemplate = 1023;
inline constexpr int kOpenTemplateFolder = 1024;
// Audio group.
inline constexpr int kAudioLabel = 1203;
inline constexpr int kAudioPath = 1103;
inline constexpr int kPlayAudio = 1030;
inline constexpr int kSelectAudio = 1031;
inline constexpr int kOpenAudioFolder = 1032;
// Output group, with the creation's buttons.
inline constexpr int kOutputLabel = 1204;
inline constexpr int kOutputPath = 1104;
inline constexpr int kCreateVideo = 1040;
inline constexpr int kStopVideo = 1041;
inline constexpr int kPlayVideo = 1042;
inline constexpr int kSelectVideo = 1043;
inline constexpr int kOpenVideoFolder = 1044;
// The program's buttons; "Exit" is the cancel button (IDCANCEL).
inline constexpr int kShowOptions = 1050;
inline constexpr int kVisitWebSite = 1051;
// The sunken lines at the bottom.
inline constexpr int kFocusPathLine = 1205;
inline constexpr int kStatusLine = 1206;

// Menu commands.
inline constexpr UINT kOpenProjectCommand = 0xE101;
inline constexpr UINT kSaveProjectCommand = 0xE103;
inline constexpr UINT kSaveProjectAsCommand = 0xE104;
inline constexpr UINT kAboutCommand = 0xE140;
inline constexpr UINT kExitCommand = 0xE141;
inline constexpr UINT kUsingTavrinoCommand = 0xE144;

// Loads the icons 141 to 149 of the module (null: the current one) and puts each on its
// icon buttons of the main dialog (BM_SETIMAGE); a button whose icon does not load stays
// without one. The icons are shared: nothing to free. User-interface thread.
void PutButtonIcons(HWND dialog, HINSTANCE module);
