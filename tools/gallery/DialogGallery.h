#pragma once

#include "platform/ui/Resources.h"

#include <span>

// A snapshot's dialog and the window to draw: the dialog itself, or for a page
// (WS_CHILD) a bare window of its size around it. Nulls when the module has no such
// dialog.
struct SnapshotWindow {
    HWND frame;
    HWND dialog;
};

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
    // Gives back what fill made that the dialog does not own (bitmaps), before the
    // dialog goes; null when there is nothing.
    void (*empty)(HWND dialog) = nullptr;
    // For a dialog that runs as its program runs it, instead of its resource filled:
    // starts it and answers its window (its frame and its dialog), and ends it again.
    SnapshotWindow (*open)() = nullptr;
    void (*close)() = nullptr;
};

std::span<const DialogSnapshot> DialogSnapshots();

// Makes the snapshot's dialog, fills it and shows it (offscreen without a display).
SnapshotWindow MakeSnapshotWindow(const DialogSnapshot& snapshot);
// Empties and destroys what MakeSnapshotWindow made.
void DestroySnapshotWindow(const DialogSnapshot& snapshot, const SnapshotWindow& window);
