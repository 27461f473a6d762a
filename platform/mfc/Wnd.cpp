#include "platform/mfc/Wnd.h"

#include "platform/ui/DialogWindows.h"

#include <map>
#include <memory>

namespace {

// The objects FromHandle made for windows that have none attached; each goes once its
// window is gone.
std::map<HWND, std::unique_ptr<CWnd>>& Wrappers()
{
    static std::map<HWND, std::unique_ptr<CWnd>> wrappers;
    return wrappers;
}

void ForgetGoneWindows()
{
    for (auto it = Wrappers().begin(); it != Wrappers().end();) {
        if (IsWindow(it->first))
            ++it;
        else
            it = Wrappers().erase(it);
    }
}

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (entry.message != message)
        return false;
    if (message == WM_COMMAND) {
        const UINT id = LOWORD(wParam);
        return entry.code == HIWORD(wParam) && id >= entry.firstId && id <= entry.lastId;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const UINT id = static_cast<UINT>(wParam);
        return header && entry.code == header->code && id >= entry.firstId && id <= entry.lastId;
    }
    return true;
}

}  // namespace

CWnd::~CWnd()
{
    HWND window = m_hWnd;
    const bool owned = m_bOwnsWindow;
    Detach();
    if (owned && window)
        ::DestroyWindow(window);
}

CWnd* CWnd::FromHandle(HWND window)
{
    if (!window || !IsWindow(window))
        return nullptr;
    if (auto* attached = dynamic_cast<CWnd*>(GetMessageTarget(window)))
        return attached;
    ForgetGoneWindows();
    auto& wrapper = Wrappers()[window];
    if (!wrapper) {
        wrapper = std::make_unique<CWnd>();
        wrapper->m_hWnd = window;
    }
    return wrapper.get();
}

BOOL CWnd::Attach(HWND window)
{
    if (!window || m_hWnd || !IsWindow(window))
        return FALSE;
    AttachMessageTarget(window, this);
    return m_hWnd == window ? TRUE : FALSE;
}

HWND CWnd::Detach()
{
    HWND window = m_hWnd;
    if (window && GetMessageTarget(window) == this)
        AttachMessageTarget(window, nullptr);
    m_hWnd = nullptr;
    m_bOwnsWindow = false;
    return window;
}

BOOL CWnd::SubclassWindow(HWND window)
{
    return Attach(window);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? Attach(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

void CWnd::OnWindowAttached(HWND window)
{
    m_hWnd = window;
}

void CWnd::OnWindowGone()
{
    m_hWnd = nullptr;
    m_bOwnsWindow = false;
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry && entry->call; ++entry) {
            if (Matches(*entry, message, wParam, lParam) &&
                entry->call(this, wParam, lParam, result))
                return true;
        }
    }
    return false;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

void CWnd::SetWindowText(LPCSTR text)
{
    ::SetWindowTextA(m_hWnd, text);
}

int CWnd::GetWindowText(LPSTR buffer, int maxCount) const
{
    return ::GetWindowTextA(m_hWnd, buffer, maxCount);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

void CWnd::SetDlgItemText(int id, LPCSTR text)
{
    ::SetDlgItemTextA(m_hWnd, id, text);
}

UINT CWnd::GetDlgItemText(int id, LPSTR buffer, int maxCount) const
{
    return ::GetDlgItemTextA(m_hWnd, id, buffer, maxCount);
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

void CWnd::GetClientRect(RECT* rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::GetWindowRect(RECT* rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : HWND_TOP, x, y, width, height,
                          flags);
}

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
}

BOOL CWnd::EnableToolTips(BOOL enable)
{
    EnableDialogToolTips(m_hWnd, enable != FALSE);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

BOOL CWnd::DestroyWindow()
{
    HWND window = m_hWnd;
    return window ? ::DestroyWindow(window) : FALSE;
}
