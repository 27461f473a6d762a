#pragma once

#include "platform/mfc/Framework.h"

// The path field that takes a file dropped onto it from the desktop: the dropped file's
// full path becomes its text, which raises EN_CHANGE to the dialog as typing would. The
// dialog's resource gives the edit WS_EX_ACCEPTFILES; the field is bound with
// DDX_Control.
class CEditFile : public CEdit {
public:
    // Takes the first file of the drop only and releases the drop. A path that does not
    // fit a path buffer (520 bytes) is refused: the field keeps its text.
    void OnDropFiles(HDROP drop);

    DECLARE_MESSAGE_MAP()
};
