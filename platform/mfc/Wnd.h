#pragma once

#include "platform/mfc/MessageMap.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MessageTarget.h"
#include "platform/ui/WindowServices.h"

// The framework's window object: a C++ object attached to a window handle, whose message
// map handles the window's messages. See Framework.h for routing, threads and ownership.
class CWnd : public MessageTarget {
public:
    CWnd() = default;
    // Detaches from a live window first; destroys it only when this object made it.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to the window, or else one the framework keeps for it until
    // the window is destroyed (do not keep that pointer past the window). Null for null.
    static CWnd* FromHandle(HWND window);

    // Attaches this object to an existing window (a control of a dialog): its messages go
    // through this object's message map first. The window stays its dialog's.
    BOOL Attach(HWND window);
    HWND Detach();
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR buffer, int maxCount) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCSTR text);
    UINT GetDlgItemText(int id, LPSTR buffer, int maxCount) const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
    HICON SetIcon(HICON icon, BOOL big);
    // Tool tips for this dialog's controls: each asks the dialog for its text (TTN_NEEDTEXTA)
    // every time it shows.
    BOOL EnableToolTips(BOOL enable = TRUE);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A message box owned by this window; no caption gives the program's name.
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
    virtual BOOL DestroyWindow();

    // MessageTarget.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* message) override;
    void OnWindowAttached(HWND window) override;
    void OnWindowGone() override;

protected:
    // The message map's handling; false when no entry took the message.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The window's own handling of a message.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // After the window is gone and this object detached.
    virtual void PostNcDestroy() {}

    // The object made its window (a dialog's Create or DoModal): its destructor then
    // destroys the window.
    bool m_bOwnsWindow = false;

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

template <auto Handler>
bool afx::HScroll(CWnd* window, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    (Self<Handler>(window)->*Handler)(LOWORD(wParam), HIWORD(wParam),
                                      CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
    *result = 0;
    return true;
}
