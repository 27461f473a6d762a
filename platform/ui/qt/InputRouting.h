#pragma once

class QEvent;
class QObject;

// The application-wide filter through which keys, mouse-button presses and tool-tip
// requests aimed at the layer's windows pass before Qt delivers them: pre-translation
// up the window tree, then the dialog keys (Enter, Escape) of the top-level dialog, and
// tool tips asked of the dialog; and where the keys go once the window that had them is
// hidden. Installed once, when the first dialog is made.
void EnsureInputRouting();

// The tool-tip part (ToolTips.cpp): true when the event was a tool-tip request for a
// control of a dialog with tool tips on, which is then answered.
bool HandleToolTip(QObject* receiver, QEvent* event);

// The owner part (OwnerActivation.cpp), told each window that stops being the active one:
// a top-level window hidden or closed while active hands that on to its owner (the window
// it was shown over), as the desktop makes the owner of a closed window active, also
// where no window manager does it, so that the owner's keys reach it again. This holds
// for the layer's windows (ShowWindow's hide, a dialog that ends) and for those Qt's own
// dialogs open (the folder browser's "Directory not found" box) alike.
void HandActivationToOwner(QObject* receiver);
