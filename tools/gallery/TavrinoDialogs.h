#pragma once

#include "platform/ui/UiTypes.h"
#include "tools/gallery/DialogGallery.h"

// What Tavrino's dialogs show once they run, for their snapshots: the main dialog itself,
// started in the program's folder on the sample project the build ships there (its
// previews, paths and frame count are the sample's); the options page with the installed
// compressors and its defaults. The About box shows its resource as it stands.

// Starts the main dialog on the sample project and waits until its template has been
// read. The dialog's way out saves the recent project; the file beside the program is
// left as it was before the start.
SnapshotWindow StartTavrinoMainDialog();
void EndTavrinoMainDialog();
void FillTavrinoOptions(HWND dialog);
