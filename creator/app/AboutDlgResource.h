#pragma once

#include "platform/ui/Resources.h"

// Dialog resource 100, the About box: the main icon, the program's name and version, a
// legal notice, the banner bitmap and the OK button.
inline constexpr int kAboutDialogId = 100;
extern const DialogResource kAboutDialog;

inline constexpr char kAboutVersionText[] = "Tavrino Free 1.0";
inline constexpr char kAboutNoticeText[] = "Copyright \xC2\xA9 2026 Halvorsk. All rights reserved.";
