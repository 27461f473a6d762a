#pragma once

#include "platform/ui/UiTypes.h"

// What Tavrino's dialogs show once they run, for their snapshots: the main dialog with
// its icons, the sample inputs in its fields and previews and a template's frame count;
// the options page with the installed compressors and its defaults. The About box shows
// its resource as it stands.

void FillTavrinoMainDialog(HWND dialog);
// Takes the preview bitmaps back from their buttons and deletes them.
void EmptyTavrinoMainDialog(HWND dialog);
void FillTavrinoOptions(HWND dialog);
