#pragma once

#include "platform/ui/Resources.h"

// Tavrino's resource module: its three dialogs (the About box 100, the options page 101,
// the main dialog 102), the main dialog's menu 128 and its pictures. The program sets it
// as the current module when it starts; tests and the dialog gallery set it to show
// Tavrino's dialogs.
extern const ResourceModule kTavrinoModule;

// Pictures, drawn for this program (creator/app/images, made by tools/MakeArt).
inline constexpr int kAboutBanner = 129;  // bitmap of the About box
inline constexpr int kMainIcon = 140;
inline constexpr int kCreateIcon = 141;
inline constexpr int kEditIcon = 142;
inline constexpr int kExitIcon = 143;
inline constexpr int kSelectIcon = 144;
inline constexpr int kFolderIcon = 145;
inline constexpr int kWebIcon = 146;
inline constexpr int kOptionsIcon = 147;
inline constexpr int kPlayIcon = 148;
inline constexpr int kStopIcon = 149;
