#pragma once

#include "platform/ui/Resources.h"

// A dialog of every control kind the layer offers, for looking at the layer's drawing
// before the programs' own dialogs exist: labels, a sunken status line, push, default,
// icon and bitmap buttons, an edit that takes dropped files, a drop list filled from its
// resource, a trackbar, a tab control, an icon, a bitmap and a menu.

inline constexpr int kSampleDialogId = 900;

// The module that holds the sample dialog, its menu and its pictures.
extern const ResourceModule kSampleModule;

// Puts the texts, list items, tabs and preview picture into the made dialog that a
// person would see once it runs.
void FillSampleDialog(HWND dialog);
// Takes the preview bitmap back from its button and deletes it.
void EmptySampleDialog(HWND dialog);
