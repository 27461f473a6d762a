#pragma once

class CWnd;

// What DoDataExchange is given: the dialog and the direction (with the layer's dialogs
// only DDX_Control is used, which binds the same way in both directions).
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
    {}
    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// Attaches control to the dialog's control with that id, once: its messages then go
// through control's message map (as CEditFile takes dropped files).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
