#pragma once

#include "creator/app/AboutDlgResource.h"
#include "platform/mfc/Framework.h"

// The About box (resource 100), run modally from the main dialog's Help menu; its OK
// button, Enter, Escape and the close box end it.
class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(kAboutDialogId) {}
};
