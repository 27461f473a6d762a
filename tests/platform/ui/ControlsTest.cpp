#include "ProbeDialog.h"
#include "support/WidgetOf.h"

#include "platform/ui/Gdi.h"
#include "platform/ui/WindowPicture.h"
#include "support/TestMedia.h"

#include <string>
#include <utility>

using namespace testdialogs;

TEST_F(ProbeDialogTest, EverySetOfAnEditsTextRaisesOneChangeAlsoUnchangedAndDisabled)
{
    SetDlgItemTextA(dialog_, kPlainEdit, "C:\\x.avi");
    SetDlgItemTextA(dialog_, kPlainEdit, "C:\\x.avi");
    EnableWindow(Item(kPlainEdit), FALSE);
    SetWindowTextA(Item(kPlainEdit), "");
    EXPECT_EQ(target_.Commands(EN_CHANGE, kPlainEdit), 3);
    // The notification comes while the set happens, with the edit's window.
    target_.received.clear();
    HWND seen = nullptr;
    target_.onMessage = [&](UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_COMMAND)
            seen = reinterpret_cast<HWND>(lParam);
    };
    SetDlgItemTextA(dialog_, kPlainEdit, "y");
    EXPECT_EQ(seen, Item(kPlainEdit));
}

TEST_F(ProbeDialogTest, WindowTextCopiesAreBoundedTerminatedAndWholeCharacters)
{
    SetDlgItemTextA(dialog_, kPlainEdit, "ab\xC3\xA9");  // "abé": é takes two bytes
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetDlgItemTextA(dialog_, kPlainEdit, buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "ab");
    char big[16];
    EXPECT_EQ(GetWindowTextA(Item(kPlainEdit), big, sizeof big), 4);
    EXPECT_STREQ(big, "ab\xC3\xA9");
    EXPECT_EQ(GetWindowTextLengthA(Item(kPlainEdit)), 4);
    EXPECT_EQ(GetWindowTextA(nullptr, big, sizeof big), 0);
    EXPECT_STREQ(big, "");
}

TEST_F(ProbeDialogTest, SelectionOfAnEditIsInBytesOfItsText)
{
    using Selection = std::pair<DWORD, DWORD>;
    const auto selection = [this] {
        Selection bytes{};
        Send(kPlainEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&bytes.first),
             reinterpret_cast<LPARAM>(&bytes.second));
        return bytes;
    };
    SetDlgItemTextA(dialog_, kPlainEdit, "\xC3\xA9t\xC3\xA9");  // "été"
    Send(kPlainEdit, EM_SETSEL, 2, 3);
    EXPECT_EQ(selection(), Selection(2, 3));
    Send(kPlainEdit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    EXPECT_EQ(selection(), Selection(5, 5));
    // A byte that is no UTF-8 (a Latin-1 e-acute) is one byte of the text too.
    SetDlgItemTextA(dialog_, kPlainEdit, "caf\xE9 \xC3\xA9");
    Send(kPlainEdit, EM_SETSEL, 3, 4);
    EXPECT_EQ(selection(), Selection(3, 4));
}

TEST_F(ProbeDialogTest, TextsThatAreNoUtf8ComeBackByteForByte)
{
    // A path of an old disk: an e-acute written in Latin-1 (E9), one cut UTF-8 sequence
    // (E2 82), then a proper e-acute.
    const std::string path = "/old/caf\xE9 \xE2\x82 \xC3\xA9.avi";
    char text[64];
    for (HWND window : {Item(kPlainEdit), Item(kLabel), dialog_}) {
        SetWindowTextA(window, path.c_str());
        EXPECT_EQ(GetWindowTextA(window, text, sizeof text), static_cast<int>(path.size()));
        EXPECT_EQ(std::string(text), path);
    }
    Send(kDropList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ASSERT_EQ(Send(kDropList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>("/old/caf\xE9")),
              Send(kDropList, CB_GETCOUNT) - 1);
    GetDlgItemTextA(dialog_, kDropList, text, sizeof text);
    EXPECT_EQ(std::string(text), path);
}

TEST_F(ProbeDialogTest, DropListFindsByCaseInsensitivePrefixGoingRoundOnce)
{
    EXPECT_EQ(Send(kDropList, CB_GETCOUNT), 5);
    EXPECT_EQ(
        Send(kDropList, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ap")), 3);
    EXPECT_EQ(Send(kDropList, CB_FINDSTRING, 3, reinterpret_cast<LPARAM>("AP")), 4);
    EXPECT_EQ(Send(kDropList, CB_FINDSTRING, 4, reinterpret_cast<LPARAM>("ap")), 3);
    EXPECT_EQ(Send(kDropList, CB_FINDSTRING, 0, reinterpret_cast<LPARAM>("1")), 1);
    EXPECT_EQ(
        Send(kDropList, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("120%x")),
        CB_ERR);
    // An empty name (as stored projects may hold) finds nothing, so it changes no choice.
    EXPECT_EQ(Send(kDropList, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("")),
              CB_ERR);
    Send(kDropList, CB_SETCURSEL, 2);
    EXPECT_EQ(
        Send(kDropList, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("")),
        CB_ERR);
    EXPECT_EQ(Send(kDropList, CB_GETCURSEL), 2);
}

TEST_F(ProbeDialogTest, DropListSelectionChangesByMessageNotifyNothing)
{
    EXPECT_EQ(Send(kDropList, CB_GETCURSEL), CB_ERR);  // initial items select nothing
    EXPECT_EQ(Send(kDropList, CB_SETCURSEL, 1), 1);
    char text[260];
    GetWindowTextA(Item(kDropList), text, sizeof text);
    EXPECT_STREQ(text, "110%");
    EXPECT_EQ(
        Send(kDropList, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("apr")),
        4);
    EXPECT_EQ(Send(kDropList, CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(Send(kDropList, CB_GETCURSEL), CB_ERR);
    GetWindowTextA(Item(kDropList), text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(target_.Commands(CBN_SELCHANGE, kDropList), 0);
}

TEST_F(ProbeDialogTest, DropListItemsAreCutToWhatA260ByteBufferHolds)
{
    Send(kDropList, CB_RESETCONTENT);
    EXPECT_EQ(Send(kDropList, CB_GETCOUNT), 0);
    const std::string longName(300, 'n');
    EXPECT_EQ(Send(kDropList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longName.c_str())), 0);
    EXPECT_EQ(Send(kDropList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("PCM")), 1);
    EXPECT_EQ(Send(kDropList, CB_GETCURSEL), CB_ERR);  // adding selects nothing
    char buffer[261];
    buffer[259] = buffer[260] = 'x';
    EXPECT_EQ(Send(kDropList, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 259);
    EXPECT_EQ(buffer[259], '\0');
    EXPECT_EQ(buffer[260], 'x');
    EXPECT_EQ(Send(kDropList, CB_GETLBTEXTLEN, 0), 259);
    Send(kDropList, CB_SETCURSEL, 1);
    EXPECT_EQ(Send(kDropList, CB_DELETESTRING, 0), 1);
    EXPECT_EQ(Send(kDropList, CB_GETCURSEL), 0);  // the selected item keeps its selection
    EXPECT_EQ(Send(kDropList, CB_DELETESTRING, 0), 0);
    EXPECT_EQ(Send(kDropList, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(Send(kDropList, CB_DELETESTRING, 0), CB_ERR);
}

TEST_F(ProbeDialogTest, AClosedDropListShowsTheEndOfAnItemTooLongForIt)
{
    Send(kDropList, CB_RESETCONTENT);
    for (const char* name : {"Microsoft MPEG-4 Video Codec V2", "Microsoft MPEG-4 Video Codec V3"})
        Send(kDropList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    QWidget* box = WidgetOf(Item(kDropList));
    ASSERT_NE(box, nullptr);
    const auto shown = [&](int index) {
        Send(kDropList, CB_SETCURSEL, static_cast<WPARAM>(index));
        return box->grab().toImage();
    };
    // Cut at their end, both would look the same in the closed box.
    EXPECT_NE(shown(0), shown(1));
}

TEST_F(ProbeDialogTest, TrackbarKeepsItsPositionWithinItsRange)
{
    Send(kTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 1000));
    Send(kTrackbar, TBM_SETPOS, TRUE, 50);
    EXPECT_EQ(Send(kTrackbar, TBM_GETPOS), 50);
    Send(kTrackbar, TBM_SETPOS, TRUE, 2000);
    EXPECT_EQ(Send(kTrackbar, TBM_GETPOS), 1000);
    Send(kTrackbar, TBM_SETPOS, TRUE, -5);
    EXPECT_EQ(Send(kTrackbar, TBM_GETPOS), 0);
    Send(kTrackbar, TBM_SETPAGESIZE, 0, 100);
    EXPECT_EQ(Send(kTrackbar, TBM_SETPAGESIZE, 0, 10), 100);
    EXPECT_EQ(Send(kTrackbar, TBM_GETRANGEMAX), 1000);
    Send(kTrackbar, TBM_SETPOS, TRUE, 700);
    Send(kTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 500));
    EXPECT_EQ(Send(kTrackbar, TBM_GETPOS), 500);
    EXPECT_EQ(target_.Count(WM_HSCROLL), 0);  // set by messages, not by the user
}

TEST_F(ProbeDialogTest, TabSelectionCanBeNoneAndOutOfRangeSelectsNone)
{
    char first[] = "AVI to Files";
    char second[] = "Files to AVI";
    TCITEMA item{TCIF_TEXT, 0, 0, first, 0, -1, 0};
    EXPECT_EQ(Send(kTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    item.pszText = second;
    EXPECT_EQ(Send(kTabs, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(Send(kTabs, TCM_GETCURSEL), -1);
    EXPECT_EQ(Send(kTabs, TCM_SETCURSEL, 1), -1);
    EXPECT_EQ(Send(kTabs, TCM_GETCURSEL), 1);
    EXPECT_EQ(Send(kTabs, TCM_SETCURSEL, 5), 1);
    EXPECT_EQ(Send(kTabs, TCM_GETCURSEL), -1);
    Send(kTabs, TCM_SETCURSEL, 0);
    EXPECT_EQ(Send(kTabs, TCM_SETCURSEL, static_cast<WPARAM>(-1)), 0);
    EXPECT_EQ(Send(kTabs, TCM_GETCURSEL), -1);
    EXPECT_EQ(target_.Count(WM_NOTIFY), 0);
}

TEST_F(ProbeDialogTest, IconButtonKeepsItsCaptionAsWindowText)
{
    char text[64];
    GetWindowTextA(Item(kIconButton), text, sizeof text);
    EXPECT_STREQ(text, "Icon Caption");
    SetWindowTextA(Item(kIconButton), "Other");
    GetWindowTextA(Item(kIconButton), text, sizeof text);
    EXPECT_STREQ(text, "Other");
}

TEST_F(ProbeDialogTest, AButtonWhoseBitmapWasDeletedDrawsWithoutIt)
{
    // The creator deletes its preview bitmaps while their buttons still show them.
    HBITMAP bitmap = CreateCompatibleBitmap(GetDC(dialog_), 20, 10);
    EXPECT_EQ(Send(kIconButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(Send(kIconButton, BM_GETIMAGE, IMAGE_BITMAP), reinterpret_cast<LRESULT>(bitmap));
    DeleteObject(bitmap);
    testmedia::TempFolder folder;
    EXPECT_TRUE(SaveWindowPicture(dialog_, folder.path("probe.png").c_str()));
}

TEST_F(ProbeDialogTest, VisibilityCountsAncestorsAndShowAnswersThePreviousState)
{
    EXPECT_TRUE(IsWindowVisible(Item(kPushButton)));
    EXPECT_TRUE(ShowWindow(Item(kPushButton), SW_HIDE));
    EXPECT_FALSE(ShowWindow(Item(kPushButton), SW_SHOW));
    EXPECT_TRUE(ShowWindow(dialog_, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(Item(kPushButton)));
    EXPECT_FALSE(IsWindowVisible(dialog_));
    EXPECT_FALSE(ShowWindow(dialog_, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(Item(kPushButton)));
}

TEST_F(ProbeDialogTest, ControlsKnowTheirIdsParentsAndPlaces)
{
    EXPECT_EQ(GetDlgCtrlID(Item(kDropEdit)), kDropEdit);
    EXPECT_EQ(GetParent(Item(kDropEdit)), dialog_);
    EXPECT_EQ(GetDlgItem(dialog_, 999), nullptr);
    RECT client{};
    ASSERT_TRUE(GetClientRect(Item(kDropEdit), &client));
    // 160 x 14 dialog units from (5, 20) at 96 dots per inch: its edges at 7.5 and 247.5,
    // 32.5 and 55.25 pixels round to a 240 x 22 rectangle.
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 22);
    ASSERT_TRUE(MoveWindow(Item(kDropEdit), 10, 20, 100, 30, TRUE));
    RECT window{};
    GetWindowRect(Item(kDropEdit), &window);
    EXPECT_EQ(window.right - window.left, 100);
    EXPECT_EQ(window.bottom - window.top, 30);
    EXPECT_FALSE(EnableWindow(Item(kDropEdit), FALSE));
    EXPECT_TRUE(EnableWindow(Item(kDropEdit), TRUE));
}

TEST_F(ProbeDialogTest, MenuCommandsReachTheDialogAndItemsGreyByCommand)
{
    HMENU menu = GetMenu(dialog_);
    ASSERT_NE(menu, nullptr);
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetSubMenu(menu, 1), nullptr);
    EXPECT_EQ(EnableMenuItem(file, kOpenCommand, MF_BYCOMMAND | MF_GRAYED),
              static_cast<int>(MF_ENABLED));
    EXPECT_EQ(EnableMenuItem(menu, kOpenCommand, MF_BYCOMMAND | MF_ENABLED),
              static_cast<int>(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(file, 0x1234, MF_BYCOMMAND | MF_GRAYED), -1);
}
