#pragma once

#include "platform/ui/Resources.h"

#include <span>

// Every dialog of the programs, for looking at them without a display
// (tools/DialogSnapshots.cpp) and for checking that their texts fit
// (tests/tools/gallery). A dialog joins with one line in DialogGallery.cpp.
struct DialogSnapshot {
    // The picture's file name, without ".png".
    const char* name;
    HINSTANCE module;
    int dialogId;
    // Puts into the made dialog what it shows once it runs (list items, texts,
    // pictures); null for a dialog that shows its resource as it stands.
    void (*fill)(HWND dialog) = nullptr;
};

std::span<const DialogSnapshot> DialogSnapshots();

// Makes the snapshot's dialog, shown offscreen, and fills it: a top-level dialog as it
// is, a page (WS_CHILD) inside a bare window of its size. Answers the window to draw,
// null when the module has no such dialog. DestroyWindow frees it.
HWND MakeSnapshotWindow(const DialogSnapshot& snapshot);
