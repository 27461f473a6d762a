#include "platform/mfc/Framework.h"
#include "platform/ui/DropFiles.h"
#include "support/TestDialogs.h"
#include "support/WidgetOf.h"

#include <QAction>
#include <QHelpEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace testdialogs;

namespace {

constexpr UINT kFrameDone = 0xBEE6;

// An edit bound by DDX_Control that records the drops reaching its own map.
class DropEdit : public CEdit {
public:
    void OnDropFiles(HDROP drop)
    {
        drops.push_back(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
        DragFinish(drop);
    }
    std::vector<UINT> drops;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DropEdit, CEdit)
ON_WM_DROPFILES()
END_MESSAGE_MAP()

class ProbeDlg : public CDialog {
public:
    explicit ProbeDlg(CWnd* parent = nullptr, UINT id = kProbeDialog) : CDialog(id, parent) {}

    std::vector<std::string> calls;
    std::vector<LPARAM> frames;
    std::vector<UINT> scrolls;
    std::vector<HWND> tipsAskedFor;
    std::function<void(ProbeDlg&)> onInit;
    std::function<void(ProbeDlg&)> onPush;
    int endAfterFrames = -1;
    bool eatKeys = false;
    DropEdit edit;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        CDialog::DoDataExchange(exchange);
        if (m_nIDTemplate == kProbeDialog)
            DDX_Control(exchange, kDropEdit, edit);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        calls.push_back(m_hWnd ? "init with window" : "init without window");
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message == WM_KEYDOWN)
            calls.push_back("pre " + std::to_string(m_nIDTemplate) + " " +
                            std::to_string(::GetDlgCtrlID(message->hwnd)));
        return eatKeys ? TRUE : CDialog::PreTranslateMessage(message);
    }
    void OnOK() override
    {
        calls.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        calls.push_back("cancel");
        CDialog::OnCancel();
    }
    void OnPush()
    {
        calls.push_back("push");
        if (onPush)
            onPush(*this);
    }
    void OnChange() { calls.push_back("change"); }
    void OnAbout() { calls.push_back("about"); }
    LRESULT OnFrame(WPARAM, LPARAM index)
    {
        frames.push_back(index);
        if (static_cast<int>(frames.size()) == endAfterFrames)
            EndDialog(7);
        return 0;
    }
    BOOL OnToolTipText(UINT, NMHDR* header, LRESULT*)
    {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
        if (!(request->uFlags & TTF_IDISHWND))
            return FALSE;
        tipsAskedFor.push_back(reinterpret_cast<HWND>(header->idFrom));
        strcpy(request->szText, "tip");
        return TRUE;
    }
    void OnHScroll(UINT code, UINT, CWnd*) { scrolls.push_back(code); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeDlg, CDialog)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, &ProbeDlg::OnToolTipText)
ON_BN_CLICKED(kPushButton, &ProbeDlg::OnPush)
ON_BN_CLICKED(kPageButton, &ProbeDlg::OnPush)
ON_EN_CHANGE(kPlainEdit, &ProbeDlg::OnChange)
ON_COMMAND(kAboutCommand, &ProbeDlg::OnAbout)
ON_MESSAGE(kFrameDone, &ProbeDlg::OnFrame)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { AfxSetResourceHandle(&kModule); }
    void TearDown() override { AfxSetResourceHandle(nullptr); }
};

}  // namespace

TEST_F(DialogTest, ModelessDialogInitialisesWithItsWindowAndItsMapTakesNotifications)
{
    ProbeDlg dialog;
    ASSERT_TRUE(dialog.Create(kProbeDialog));
    HWND window = dialog.m_hWnd;
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"init with window"});
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(dialog.edit.m_hWnd, dialog.GetDlgItem(kDropEdit)->m_hWnd);
    QTest::mouseClick(WidgetOf(::GetDlgItem(window, kPushButton)), Qt::LeftButton);
    dialog.SetDlgItemText(kPlainEdit, "x");
    dialog.SetDlgItemText(kDropEdit, "y");  // not in the dialog's map
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"init with window", "push", "change"}));
    ASSERT_TRUE(DropFilesOnWindow(dialog.edit.m_hWnd, {"/a.bmp", "/b.bmp"}));
    EXPECT_EQ(dialog.edit.drops, std::vector<UINT>{2});
}

TEST_F(DialogTest, DestroyingTheObjectDestroysTheWindowItMade)
{
    HWND window = nullptr;
    HWND edit = nullptr;
    {
        ProbeDlg dialog;
        ASSERT_TRUE(dialog.Create(kProbeDialog));
        window = dialog.m_hWnd;
        edit = dialog.edit.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(DialogTest, AHandlerMayDestroyItsOwnDialog)
{
    ProbeDlg dialog;
    ASSERT_TRUE(dialog.Create(kProbeDialog));
    dialog.onPush = [](ProbeDlg& self) { self.DestroyWindow(); };
    QTest::mouseClick(WidgetOf(::GetDlgItem(dialog.m_hWnd, kPushButton)), Qt::LeftButton);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.edit.m_hWnd, nullptr);
}

TEST_F(DialogTest, ModalLoopDeliversPostsFromAStreamingThreadInOrderUntilEndDialog)
{
    ProbeDlg dialog;
    dialog.endAfterFrames = 200;
    std::thread streaming;
    dialog.onInit = [&](ProbeDlg& self) {
        HWND window = self.m_hWnd;
        streaming = std::thread([window] {
            for (int i = 0; i < 200; ++i)
                PostMessageA(window, kFrameDone, 0, i);
            // Sending is for the window's own thread only.
            EXPECT_EQ(SendMessageA(window, kFrameDone, 0, -1), 0);
        });
    };
    EXPECT_EQ(dialog.DoModal(), 7);
    streaming.join();
    ASSERT_EQ(dialog.frames.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(dialog.frames[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(dialog.m_hWnd, nullptr);  // DoModal destroyed its window
}

TEST_F(DialogTest, APostedCloseEndsAModalDialogThroughOnCancel)
{
    ProbeDlg dialog;
    dialog.onInit = [](ProbeDlg& self) { self.PostMessage(WM_CLOSE); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"init with window", "cancel"}));
}

TEST_F(DialogTest, EscapeEndsAModalDialogThroughOnCancel)
{
    ProbeDlg dialog;
    dialog.onInit = [](ProbeDlg& self) {
        QTimer::singleShot(0, [&self] {
            QWidget* edit = WidgetOf(::GetDlgItem(self.m_hWnd, kPlainEdit));
            Focus(edit);
            QTest::keyClick(edit, Qt::Key_Escape);
        });
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.calls.back(), "cancel");
}

TEST_F(DialogTest, KeysInAPageArePreTranslatedByThePageThenItsDialogAndEnterActsOnTheDialog)
{
    ProbeDlg main;
    ASSERT_TRUE(main.Create(kProbeDialog));
    ProbeDlg page(&main, kPage);
    ASSERT_TRUE(page.Create(kPage, &main));
    EXPECT_EQ(::GetParent(page.m_hWnd), main.m_hWnd);
    page.MoveWindow(10, 10, 300, 80);
    RECT placed{};
    page.GetWindowRect(&placed);
    EXPECT_EQ(placed.right - placed.left, 300);
    EXPECT_EQ(placed.bottom - placed.top, 80);
    page.ShowWindow(SW_SHOW);
    EXPECT_EQ(main.GetDlgItem(kPageEdit)->m_hWnd, page.GetDlgItem(kPageEdit)->m_hWnd);
    QWidget* edit = WidgetOf(::GetDlgItem(page.m_hWnd, kPageEdit));
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(page.calls, (std::vector<std::string>{"init with window", "pre 3 31"}));
    EXPECT_EQ(main.calls, (std::vector<std::string>{"init with window", "pre 1 31", "ok"}));
    // A page's button notifies the page, not the dialog around it.
    QTest::mouseClick(WidgetOf(::GetDlgItem(page.m_hWnd, kPageButton)), Qt::LeftButton);
    EXPECT_EQ(page.calls.back(), "push");
    EXPECT_EQ(main.calls.back(), "ok");
    // What the page eats goes no further.
    page.eatKeys = true;
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(main.calls.back(), "ok");
}

TEST_F(DialogTest, ToolTipsAskTheDialogForTheirTextEachTimeTheyShow)
{
    ProbeDlg dialog;
    ASSERT_TRUE(dialog.Create(kProbeDialog));
    QWidget* button = WidgetOf(::GetDlgItem(dialog.m_hWnd, kIconButton));
    QHelpEvent early(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &early);
    EXPECT_TRUE(dialog.tipsAskedFor.empty());  // tool tips are off until enabled
    dialog.EnableToolTips(TRUE);
    for (int i = 0; i < 2; ++i) {
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
    }
    EXPECT_EQ(dialog.tipsAskedFor, (std::vector<HWND>{::GetDlgItem(dialog.m_hWnd, kIconButton),
                                                      ::GetDlgItem(dialog.m_hWnd, kIconButton)}));
}

TEST_F(DialogTest, MenuCommandsAndTrackbarMovesReachTheMap)
{
    ProbeDlg dialog;
    ASSERT_TRUE(dialog.Create(kProbeDialog));
    for (QAction* action : WidgetOf(dialog.m_hWnd)->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("&About"))
            action->trigger();
    }
    EXPECT_EQ(dialog.calls.back(), "about");
    dialog.SendDlgItemMessage(kTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 1000));
    QWidget* slider = WidgetOf(::GetDlgItem(dialog.m_hWnd, kTrackbar));
    Focus(slider);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(dialog.scrolls, (std::vector<UINT>{TB_LINEDOWN, TB_ENDTRACK}));
    EXPECT_EQ(dialog.SendDlgItemMessage(kTrackbar, TBM_GETPOS), 1);
}

namespace {

class CommandLineApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        seen = m_lpCmdLine;
        return FALSE;
    }
    int ExitInstance() override { return 3; }
    std::string seen;
};

}  // namespace

TEST_F(DialogTest, CommandLineIsTheArgumentsJoinedOrEmpty)
{
    CommandLineApp app;
    char name[] = "Gresmont";
    char first[] = "C:\\My Templates\\a.avi";
    char second[] = "x";
    char* withArguments[] = {name, first, second, nullptr};
    EXPECT_EQ(AfxWinMain(3, withArguments, &kModule), 3);
    EXPECT_EQ(app.seen, "C:\\My Templates\\a.avi x");
    CommandLineApp bare;
    char* withoutArguments[] = {name, nullptr};
    AfxWinMain(1, withoutArguments, &kModule);
    EXPECT_EQ(bare.seen, "");
    EXPECT_EQ(AfxGetApp(), &bare);
}
