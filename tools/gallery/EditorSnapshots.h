#pragma once

#include "platform/ui/UiTypes.h"

// Gresmont's main dialog as the program shows it, with one of its pages lying over the
// tab control, the icons on its buttons, and fields, lists and status lines filled from a
// sample project.
void FillEditorWithAviToFiles(HWND dialog);
void FillEditorWithFilesToAvi(HWND dialog);
