#pragma once

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Wnd.h"

// A dialog made from a dialog resource of the current resource module: modal with
// DoModal, or modeless with Create (a top-level window owned by its parent, or a page
// inside its parent when the resource is WS_CHILD). See Framework.h.
class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Makes the window (OnInitDialog runs), shows it and runs a nested event loop until
    // EndDialog; then destroys the window and answers EndDialog's result (-1 when the
    // window could not be made).
    virtual INT_PTR DoModal();
    // Makes the window without waiting (OnInitDialog runs); shown when the resource says
    // WS_VISIBLE. A null parent means the application's main window. FALSE when the
    // window could not be made.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Ends DoModal's loop with the result; a modeless dialog is hidden.
    void EndDialog(int result);

    // Binds the controls (UpdateData) and answers TRUE, so that the focus goes to the
    // first control that takes it.
    virtual BOOL OnInitDialog();
    // IDOK (the OK button, Enter on a dialog whose default button is IDOK): EndDialog(IDOK).
    virtual void OnOK();
    // IDCANCEL (button 2, Escape, the close box, WM_CLOSE): EndDialog(IDCANCEL).
    virtual void OnCancel();
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* exchange);
    // Eats nothing: the dialog keys are handled after the pre-translation (Framework.h).
    BOOL PreTranslateMessage(MSG* message) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    HWND OwnerWindow() const;
};
