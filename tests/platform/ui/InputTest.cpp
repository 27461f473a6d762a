#include "ProbeDialog.h"
#include "support/WidgetOf.h"

#include "platform/ui/DropFiles.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace testdialogs;

TEST_F(ProbeDialogTest, KeysAndButtonPressesArePreTranslatedBeforeTheControlSeesThem)
{
    QWidget* edit = WidgetOf(Item(kPlainEdit));
    ASSERT_NE(edit, nullptr);
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_A);
    ASSERT_EQ(target_.preTranslated.size(), 2u);
    EXPECT_EQ(target_.preTranslated[0].message, WM_KEYDOWN);
    EXPECT_EQ(target_.preTranslated[0].wParam, WPARAM{'A'});
    EXPECT_EQ(target_.preTranslated[0].hwnd, Item(kPlainEdit));
    EXPECT_EQ(target_.preTranslated[1].message, WM_KEYUP);
    EXPECT_EQ(target_.Commands(EN_CHANGE, kPlainEdit), 1);  // typing notifies too

    target_.eatInput = true;
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), QStringLiteral("a"));

    target_.preTranslated.clear();
    QTest::mouseClick(WidgetOf(Item(kPushButton)), Qt::RightButton);
    ASSERT_EQ(target_.preTranslated.size(), 1u);
    EXPECT_EQ(target_.preTranslated[0].message, WM_RBUTTONDOWN);
    EXPECT_EQ(target_.preTranslated[0].hwnd, Item(kPushButton));
}

TEST_F(ProbeDialogTest, EnterPressesTheDefaultButtonAndEscapeCancels)
{
    QWidget* edit = WidgetOf(Item(kPlainEdit));
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(target_.Commands(BN_CLICKED, IDOK), 1);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(target_.Commands(BN_CLICKED, IDCANCEL), 1);
    // A focused push button is the one Enter presses.
    QWidget* push = WidgetOf(Item(kPushButton));
    Focus(push);
    QTest::keyClick(push, Qt::Key_Return);
    EXPECT_EQ(target_.Commands(BN_CLICKED, kPushButton), 1);
    EXPECT_EQ(target_.Commands(BN_CLICKED, IDOK), 1);
    // A disabled default button is not pressed.
    EnableWindow(Item(IDOK), FALSE);
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(target_.Commands(BN_CLICKED, IDOK), 1);
}

TEST(DialogKeys, EnterInADialogWithoutDefaultButtonDoesNothing)
{
    // On the desktop such an Enter would end the dialog as OK, bypassing the shutdown that
    // its cancel handling does.
    RecordingTarget target;
    HWND dialog = CreateDialogWindow(&kModule, kNoDefaultDialog, nullptr, &target, true);
    ASSERT_NE(dialog, nullptr);
    QWidget* edit = WidgetOf(GetDlgItem(dialog, kPlainEdit));
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(target.Count(WM_COMMAND), 0);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(target.Commands(BN_CLICKED, IDCANCEL), 1);
    DestroyWindow(dialog);
}

TEST_F(ProbeDialogTest, CloseBoxAndPostedCloseBecomeTheCancelCommand)
{
    WidgetOf(dialog_)->close();
    EXPECT_EQ(target_.Commands(BN_CLICKED, IDCANCEL), 1);
    EXPECT_TRUE(IsWindow(dialog_));
    PostMessageA(dialog_, WM_CLOSE, 0, 0);
    QApplication::processEvents();
    EXPECT_EQ(target_.Commands(BN_CLICKED, IDCANCEL), 2);
}

TEST_F(ProbeDialogTest, ClicksNotifyTheDialogWithTheControlsWindow)
{
    QTest::mouseClick(WidgetOf(Item(kPushButton)), Qt::LeftButton);
    ASSERT_EQ(target_.Commands(BN_CLICKED, kPushButton), 1);
    // The tab strip reports another tab picked, and only then.
    char first[] = "One";
    char second[] = "Two";
    TCITEMA item{TCIF_TEXT, 0, 0, first, 0, -1, 0};
    Send(kTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = second;
    Send(kTabs, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
    QWidget* tabs = WidgetOf(Item(kTabs));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(Send(kTabs, TCM_GETCURSEL), 0);
    EXPECT_EQ(target_.Count(WM_NOTIFY), 1);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(target_.Count(WM_NOTIFY), 1);
}

TEST_F(ProbeDialogTest, DroppedLocalFilesReachAnEditThatAcceptsThem)
{
    HDROP seen = nullptr;
    UINT files = 0;
    RecordingTarget editTarget;
    editTarget.onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_DROPFILES) {
            seen = reinterpret_cast<HDROP>(wParam);
            files = DragQueryFileA(seen, 0xFFFFFFFF, nullptr, 0);
        }
    };
    AttachMessageTarget(Item(kDropEdit), &editTarget);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.bmp")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/c.bmp")),
                  QUrl(QStringLiteral("https://example.org/x"))});
    QWidget* edit = WidgetOf(Item(kDropEdit));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(files, 2u);  // local files only
    AttachMessageTarget(Item(kDropEdit), nullptr);
    // An edit without WS_EX_ACCEPTFILES takes no drop.
    EXPECT_FALSE(DropFilesOnWindow(Item(kPlainEdit), {"/tmp/a.bmp"}));
}

TEST_F(ProbeDialogTest, ADroppedFileWhoseNameIsNoUtf8ArrivesByteForByte)
{
    std::string dropped;
    RecordingTarget editTarget;
    editTarget.onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message != WM_DROPFILES)
            return;
        char path[64] = {};
        DragQueryFileA(reinterpret_cast<HDROP>(wParam), 0, path, sizeof path);
        dropped = path;
    };
    AttachMessageTarget(Item(kDropEdit), &editTarget);
    // As a file manager hands over a name written in Latin-1: its byte E9 percent-encoded.
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), "file:///old/caf%E9%20x.avi\r\n");
    QWidget* edit = WidgetOf(Item(kDropEdit));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
    AttachMessageTarget(Item(kDropEdit), nullptr);
    EXPECT_EQ(dropped, "/old/caf\xE9 x.avi");
}

TEST(DroppedFiles, APathThatDoesNotFitIsRefusedWhole)
{
    HDROP drop = CreateDrop({"/tmp/abc.bmp", "/tmp/d.bmp"});
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), 12u);
    char exact[13];
    EXPECT_EQ(DragQueryFileA(drop, 0, exact, sizeof exact), 12u);
    EXPECT_STREQ(exact, "/tmp/abc.bmp");
    char shorter[12] = "keep";
    EXPECT_EQ(DragQueryFileA(drop, 0, shorter, sizeof shorter), 0u);
    EXPECT_STREQ(shorter, "");
    EXPECT_EQ(DragQueryFileA(drop, 2, exact, sizeof exact), 0u);
    DragFinish(drop);
}

TEST_F(ProbeDialogTest, TrackbarKeysMoveAsOnTheClassicTrackbarAndTellTheirScrollCodes)
{
    Send(kTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 1000));
    Send(kTrackbar, TBM_SETPAGESIZE, 0, 100);
    Send(kTrackbar, TBM_SETPOS, TRUE, 500);
    QWidget* slider = WidgetOf(Item(kTrackbar));
    ASSERT_NE(slider, nullptr);
    Focus(slider);
    struct Move {
        Qt::Key key;
        int position;
        WORD code;
    };
    // Up and Page Up lower the position, Down and Page Down raise it; Left and Right
    // follow the bar.
    const Move moves[] = {{Qt::Key_PageUp, 400, TB_PAGEUP},
                          {Qt::Key_Up, 399, TB_LINEUP},
                          {Qt::Key_PageDown, 499, TB_PAGEDOWN},
                          {Qt::Key_Down, 500, TB_LINEDOWN},
                          {Qt::Key_Left, 499, TB_LINEUP},
                          {Qt::Key_Right, 500, TB_LINEDOWN},
                          {Qt::Key_Home, 0, TB_TOP},
                          {Qt::Key_End, 1000, TB_BOTTOM}};
    for (const Move& move : moves) {
        target_.received.clear();
        QTest::keyClick(slider, move.key);
        EXPECT_EQ(Send(kTrackbar, TBM_GETPOS), move.position) << move.key;
        std::vector<WORD> codes;
        for (const RecordingTarget::Received& r : target_.received)
            if (r.message == WM_HSCROLL)
                codes.push_back(LOWORD(r.wParam));
        EXPECT_EQ(codes, (std::vector<WORD>{move.code, TB_ENDTRACK})) << move.key;
    }
}
