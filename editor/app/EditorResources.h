#pragma once

#include "platform/ui/Resources.h"

// Gresmont's resources: the main tab dialog and its menu, the About box, the two pages,
// the icons and the About box's bitmap. Each table lies in the file of its dialog's
// resource; the module lists them all.
extern const ResourceModule kEditorModule;

extern const DialogResource kMainDialogResource;
extern const MenuResource kMainMenuResource;
extern const DialogResource kAboutDialogResource;
extern const DialogResource kAviToFilesPageResource;
extern const DialogResource kFilesToAviPageResource;
