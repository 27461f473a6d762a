#pragma once

#include "platform/mfc/Wnd.h"

// A one-line edit control (platform/ui/Controls.h: every text set raises EN_CHANGE;
// positions are byte offsets into the UTF-8 text).
class CEdit : public CWnd {
public:
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end);
};
