#pragma once

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/Edit.h"
#include "platform/mfc/MessageMap.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WindowServices.h"

// The dialog framework's contract: what a dialog author includes.
//
// Writing a dialog.
// 1. Its resource: a DialogResource and its ControlResource table beside the dialog's code
//    (platform/ui/Resources.h explains the format and dialog units), with the control ids
//    as named constants next to the table. Icons and bitmaps are PNG files compiled in
//    with tavrino_ui_resources (root CMakeLists.txt) and listed as ImageResources. The
//    program's ResourceModule lists every table; AfxWinMain sets it as the current one.
// 2. Its class: derive from CDialog, pass the resource id (and the parent) to CDialog's
//    constructor, override OnInitDialog (call the base first: it binds the controls),
//    OnCancel (everything a dialog does on its way out belongs there: every way out of a
//    dialog passes through it), DoDataExchange (DDX_Control for controls that are objects
//    of their own, such as CEditFile) and PreTranslateMessage as needed.
// 3. Its message map, in the order of the dialog's dispatch table:
//        BEGIN_MESSAGE_MAP(CPickerDlg, CDialog)
//        ON_BN_CLICKED(kSelectAudio, &CPickerDlg::OnSelectAudio)
//        ON_EN_CHANGE(kAudioPath, &CPickerDlg::OnChangeAudio)
//        ON_MESSAGE(kFrameDone, &CPickerDlg::OnFrameDone)
//        ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, &CPickerDlg::OnToolTipText)
//        END_MESSAGE_MAP()
//    with DECLARE_MESSAGE_MAP() in the class. Handlers: void () for commands, LRESULT
//    (WPARAM, LPARAM) for ON_MESSAGE, void (NMHDR*, LRESULT*) for ON_NOTIFY, BOOL (UINT,
//    NMHDR*, LRESULT*) for ON_NOTIFY_EX, void (UINT, UINT, CWnd*) OnHScroll for
//    ON_WM_HSCROLL, void (HDROP) OnDropFiles for ON_WM_DROPFILES.
// 4. Its look: tools/dialog_snapshots draws it from one registration line
//    (tools/gallery/DialogGallery.cpp); the text-fit test then checks its texts too.
// 5. Its tests: headless; install answers for message boxes, pickers, launches and
//    picture windows in the desktop hooks (platform/win/DesktopHooks.h); start the dialog
//    modeless with Create, or let DoModal run and end it from a message posted before
//    (PostMessageA reaches it once the nested loop runs).
//
// Routing. A message for a window goes first to the object attached to it (the CWnd made
// it with Create or DoModal, or was bound to it with DDX_Control, SubclassDlgItem or
// Attach): its message map, searched from the most derived class to CWnd, first matching
// entry first; what no entry takes goes to the window's own handling (the control's
// behaviour, DefWindowProc). A window without an object has only its own handling.
// - Controls tell their parent dialog (the page, for a page's controls) by sending
//   WM_COMMAND (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE), WM_NOTIFY (TCN_SELCHANGE) or
//   WM_HSCROLL, synchronously, while the change happens: an edit's text set by
//   SetWindowText has run the dialog's EN_CHANGE handler when SetWindowText returns.
//   Changes made by messages (CB_SETCURSEL, TCM_SETCURSEL, TBM_SETPOS) notify nothing.
// - Before a key press or release, or a mouse-button press, is delivered to a control,
//   PreTranslateMessage of the control's object, then of each window above it (its
//   dialog, the page's dialog, a top-level window's owner) is called with the MSG; the
//   first that answers TRUE eats it. CDialog's own answers FALSE.
// - Then the dialog keys of the top-level dialog: Enter presses the focused push button,
//   or else the dialog's enabled default button (BS_DEFPUSHBUTTON), or nothing when it
//   has none (never an OK the dialog does not offer, which would end it past its
//   OnCancel); Escape sends IDCANCEL. Enter and Escape in a page act on the dialog the
//   page lies in. The close box and WM_CLOSE send IDCANCEL too, so Escape, the close box,
//   a posted WM_CLOSE and a button with id 2 all reach OnCancel. CDialog's OnOK and
//   OnCancel end the dialog (a modeless one is hidden).
// - Tool tips, once EnableToolTips is on: each time a control's tip is about to show, its
//   dialog gets WM_NOTIFY TTN_NEEDTEXTA (id 0, hdr.idFrom the control's window,
//   TTF_IDISHWND); the text it gives is shown, an empty one shows nothing.
//
// Threads. Every call of the framework and the layer below is made on the user-interface
// thread, the one that made the application object, except PostMessageA (and IsWindow),
// which any thread may call: streaming threads reach a dialog only by posting. Posted
// messages arrive through the event loop (the modal loop of DoModal included) in the
// order they were posted; a message posted to a window that is destroyed before it
// arrives is dropped. SendMessageA from another thread is refused (answers 0).
//
// Ownership. The window object (CWnd and its descendants) belongs to whoever declared it:
// dialog members by value, the application's dialog on the stack of InitInstance. The
// window behind a handle belongs to the layer: DestroyWindow destroys it and every window
// inside it (WM_DESTROY reaches each), and so does destroying its parent or owner; its
// object is then detached (m_hWnd null). An object that made its window (Create, DoModal)
// destroys it in its destructor; one bound to a control only detaches from it. Either way
// the object is detached before the window goes, so no message reaches a half-destroyed
// object. Bitmaps belong to whoever made them (DeleteObject); icons to the module.
// Objects that CWnd::FromHandle makes for windows without one live until their window
// is destroyed.
