#pragma once

#include "platform/ui/MessageTarget.h"
#include "platform/ui/Resources.h"

// Dialog windows made from their resources, for the framework's dialog class
// (platform/mfc/Dialog.h). User-interface thread.

// Makes the dialog and its controls from the module's resource (null module: the current
// one), hidden, with target attached; then sends WM_INITDIALOG and, when it answers
// nonzero, puts the focus on the first control that takes it. A top-level dialog is
// owned by parent (null: none); a page (WS_CHILD) lies inside parent's client area.
// Shown at the end unless the resource lacks WS_VISIBLE or showNow is false. Null when
// the module has no such dialog or a page has no parent.
HWND CreateDialogWindow(HINSTANCE module, int id, HWND parent, MessageTarget* target, bool showNow);

// Shows the dialog, disables its owner and runs a nested event loop until EndDialog;
// then enables the owner again and answers EndDialog's result (-1 for a window that is
// no dialog). The dialog is hidden, not destroyed.
INT_PTR RunModalLoop(HWND dialog);

// Ends the modal loop of the dialog with the result; a modeless dialog is hidden.
BOOL EndDialog(HWND dialog, INT_PTR result);

// Closes everything that waits for the user modally except window (whatever its owner:
// a dialog without one holds the program up as well): the desktop's dialogs that are
// open (a picker answers as cancelled, a message box as closed) and, by a posted
// WM_CLOSE, every dialog other than window that runs modally. A request from the system
// to end the program is then not held up by a dialog nobody will answer.
void CloseModalWindowsExcept(HWND window);

// Turns tool tips of the dialog's controls on: each time a tip is about to show, the
// dialog is asked for its text (WM_NOTIFY TTN_NEEDTEXTA with TTF_IDISHWND).
void EnableDialogToolTips(HWND dialog, bool enable);
