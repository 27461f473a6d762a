#pragma once

#include "platform/ui/Messages.h"
#include "platform/ui/Shell.h"

// Message maps: a table of entries per window class, searched from the most derived
// class to its bases; within a table the first matching entry wins. See Framework.h.

class CWnd;

// One entry: the message and, for WM_COMMAND and WM_NOTIFY, the notification code and the
// range of control ids it takes. call runs the handler and answers whether it handled the
// message (only ON_NOTIFY_EX handlers may decline); *result is the message's answer.
struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;
    UINT firstId;
    UINT lastId;
    bool (*call)(CWnd* window, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*base)();
    const AFX_MSGMAP_ENTRY* entries;
};

namespace afx {

template <class Member>
struct MemberOf;
template <class Class, class Result, class... Arguments>
struct MemberOf<Result (Class::*)(Arguments...)> {
    using Type = Class;
};

template <auto Handler>
auto* Self(CWnd* window)
{
    return static_cast<typename MemberOf<decltype(Handler)>::Type*>(window);
}

// void Handler()
template <auto Handler>
bool Command(CWnd* window, WPARAM, LPARAM, LRESULT* result)
{
    (Self<Handler>(window)->*Handler)();
    *result = 0;
    return true;
}

// LRESULT Handler(WPARAM, LPARAM)
template <auto Handler>
bool Message(CWnd* window, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = (Self<Handler>(window)->*Handler)(wParam, lParam);
    return true;
}

// void Handler(NMHDR* header, LRESULT* result)
template <auto Handler>
bool Notify(CWnd* window, WPARAM, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    (Self<Handler>(window)->*Handler)(reinterpret_cast<NMHDR*>(lParam), result);
    return true;
}

// BOOL Handler(UINT id, NMHDR* header, LRESULT* result): FALSE lets the search go on.
template <auto Handler>
bool NotifyEx(CWnd* window, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    return (Self<Handler>(window)->*Handler)(static_cast<UINT>(wParam),
                                             reinterpret_cast<NMHDR*>(lParam), result) != 0;
}

// void Handler(UINT code, UINT position, CWnd* bar); defined in Wnd.h, which knows CWnd.
template <auto Handler>
bool HScroll(CWnd* window, WPARAM wParam, LPARAM lParam, LRESULT* result);

// void Handler(HDROP drop)
template <auto Handler>
bool DropFiles(CWnd* window, WPARAM wParam, LPARAM, LRESULT* result)
{
    (Self<Handler>(window)->*Handler)(reinterpret_cast<HDROP>(wParam));
    *result = 0;
    return true;
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};                     \
    return &map;                                                                                   \
    }

// Menu commands and button clicks (BN_CLICKED is code 0, as menu commands are).
#define ON_COMMAND(id, handler) {WM_COMMAND, 0, (id), (id), &afx::Command<handler>},
#define ON_BN_CLICKED(id, handler) {WM_COMMAND, BN_CLICKED, (id), (id), &afx::Command<handler>},
#define ON_EN_CHANGE(id, handler) {WM_COMMAND, EN_CHANGE, (id), (id), &afx::Command<handler>},
#define ON_CBN_SELCHANGE(id, handler)                                                              \
    {WM_COMMAND, CBN_SELCHANGE, (id), (id), &afx::Command<handler>},
// WM_NOTIFY from the control with that id (tool tips ask with id 0).
#define ON_NOTIFY(code, id, handler) {WM_NOTIFY, (code), (id), (id), &afx::Notify<handler>},
#define ON_NOTIFY_EX(code, id, handler) {WM_NOTIFY, (code), (id), (id), &afx::NotifyEx<handler>},
// Any message by number, such as the program's own WM_APP + n or 0xBEE5.
#define ON_MESSAGE(message, handler) {(message), 0, 0, 0, &afx::Message<handler>},
// WM_HSCROLL to OnHScroll(UINT code, UINT position, CWnd* bar).
#define ON_WM_HSCROLL() {WM_HSCROLL, 0, 0, 0, &afx::HScroll<&ThisClass::OnHScroll>},
// WM_DROPFILES to OnDropFiles(HDROP drop).
#define ON_WM_DROPFILES() {WM_DROPFILES, 0, 0, 0, &afx::DropFiles<&ThisClass::OnDropFiles>},
