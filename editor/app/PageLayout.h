#pragma once

#include "platform/ui/UiTypes.h"
#include "platform/win/WindowGeometry.h"

// How a page is laid into the main dialog, shared by the pages and by the dialog
// snapshots, which show the pages as the program does.

// The page's place in the main dialog's client area, from the tab control's rectangle (of
// which only the size counts): w and h one pixel less than its width and height, the page
// at (0.01 w, 0.1 h) with the size 0.98 w by 0.9 h, each truncated.
RECT PageRectangle(const RECT& tabRectangle);

// The tab control's two tabs: 0 "AVI to Files", 1 "Files to AVI".
void InsertPageTabs(HWND tabControl);

// Puts the icons of the program's module on the page's buttons (those it has): select file on 1100, 1103 and
// 1104, play on 1101, select folder on 1102, open folder on 1105, open file on 1106 and
// 1107.
void SetPageIcons(HWND page);

// The step list 1200: the items 1 to 100, with 10 selected.
void FillStepList(HWND page);
