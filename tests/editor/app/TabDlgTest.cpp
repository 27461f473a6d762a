#include "EditorDialogTest.h"
#include "editor/app/AVIToFilesDlg.h"
#include "editor/app/FilesToAVIDlg.h"
#include "editor/app/PageLayout.h"
#include "platform/ui/DropFiles.h"
#include "platform/ui/Gdi.h"
#include "support/WidgetOf.h"

#include <QLabel>
#include <QTest>

#include <filesystem>

using namespace gresmont;

namespace {

using editortest::PageHost;
using editortest::TextOf;
using Post = PageHost::Post;

// One page of each kind in the main dialog's window, without converters.
class TabPageTest : public editortest::EditorDialogTest {
protected:
    void SetUp() override
    {
        EditorDialogTest::SetUp();
        ASSERT_TRUE(host_.Create(kMainDialogId));
        const RECT tab{100, 50, 901, 451};
        ASSERT_TRUE(avi_.CreatePage(&host_, tab, kAviToFilesPageId, nullptr));
        ASSERT_TRUE(files_.CreatePage(&host_, tab, kFilesToAviPageId, nullptr));
        avi_.ShowPage(SW_SHOW);
        Pump();
        host_.posts.clear();
    }
    void Pump()
    {
        editortest::WaitFor([] { return true; });
    }
    HWND Item(CWnd& page, int id) { return ::GetDlgItem(page.m_hWnd, id); }
    void Click(CWnd& page, int id)
    {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                         reinterpret_cast<LPARAM>(Item(page, id)));
    }

    PageHost host_;
    CAVIToFilesDlg avi_;
    CFilesToAVIDlg files_;
};

HGDIOBJ Icon(int id)
{
    return LoadImageA(&kEditorModule, MAKEINTRESOURCEA(static_cast<WORD>(id)), IMAGE_ICON, 0, 0,
                      LR_DEFAULTSIZE | LR_SHARED);
}

}  // namespace

TEST(PageLayout, APageTakesItsPlaceFromTheTabSizeAlone)
{
    const RECT place = PageRectangle(RECT{1000, 2000, 1801, 2401});
    EXPECT_EQ(place.left, 8);
    EXPECT_EQ(place.top, 40);
    EXPECT_EQ(place.right - place.left, 784);
    EXPECT_EQ(place.bottom - place.top, 360);
}

TEST_F(TabPageTest, APageIsMadeHiddenInItsPlaceWithIconsAndTheStepList)
{
    RECT outer{};
    files_.GetWindowRect(&outer);
    EXPECT_EQ(outer.right - outer.left, 784);
    EXPECT_EQ(outer.bottom - outer.top, 360);
    EXPECT_FALSE(files_.IsWindowVisible());
    EXPECT_EQ(::GetParent(files_.m_hWnd), host_.m_hWnd);

    const std::pair<int, int> icons[] = {
        {kSelectAviButton, kSelectFileIconId},      {kPlayButton, kPlayIconId},
        {kSelectFolderButton, kSelectFolderIconId}, {kSelectFirstButton, kSelectFileIconId},
        {kSelectLastButton, kSelectFileIconId},     {kOpenFolderButton, kOpenFolderIconId},
        {kOpenFirstButton, kOpenFileIconId},        {kOpenLastButton, kOpenFileIconId}};
    for (const auto& [button, icon] : icons) {
        EXPECT_NE(Icon(icon), nullptr);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(
                      SendMessageA(Item(files_, button), BM_GETIMAGE, IMAGE_ICON, 0)),
                  Icon(icon))
            << button;
    }
    EXPECT_EQ(Item(avi_, kSelectLastButton), nullptr);

    EXPECT_EQ(avi_.SendDlgItemMessage(kStepList, CB_GETCOUNT), 100);
    EXPECT_EQ(avi_.SendDlgItemMessage(kStepList, CB_GETCURSEL), 9);
    EXPECT_EQ(TextOf(avi_, kStepList), "10");
    EXPECT_TRUE(avi_.SelectComboText("1", kStepList));
    EXPECT_EQ(TextOf(avi_, kStepList), "1");
    EXPECT_TRUE(avi_.SelectComboText("10", kStepList));
    EXPECT_EQ(TextOf(avi_, kStepList), "10");
    EXPECT_FALSE(avi_.SelectComboText("x", kStepList));
    EXPECT_EQ(TextOf(avi_, kStepList), "10");
}

TEST_F(TabPageTest, FileNamesTakeTheirNormalFormAsTheyAreSetOrDropped)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\pics\\frame12.jpg", "frame00012.bmp"},
        {"frame", "frame00000.bmp"},
        {"", "00000.bmp"},
        {"frame123456.bmp", "frame12345.bmp"},
        {"frame1234567.bmp", "frame12345.bmp"},  // one digit a pass until five are left
        {"D:\\x\\shot.JPG ", "shot00000.bmp"},
        {"/home/u/12.34.bmp", "12.00034.bmp"},
    };
    for (const auto& [typed, normal] : cases) {
        avi_.SetDlgItemText(kFirstField, typed);
        EXPECT_EQ(TextOf(avi_, kFirstField), normal) << typed;
    }
    ASSERT_TRUE(DropFilesOnWindow(Item(avi_, kFirstField), {"/pics/shot7.jpg"}));
    EXPECT_EQ(TextOf(avi_, kFirstField), "shot00007.bmp");

    // Already normal: nothing is written, so nothing is reported either.
    Pump();
    host_.posts.clear();
    EXPECT_FALSE(avi_.NormaliseNumberedName(kFirstField, 0));
    Pump();
    EXPECT_TRUE(host_.posts.empty());
}

TEST_F(TabPageTest, TypingASixthDigitDropsTheLastAndTheCaretStays)
{
    avi_.SetDlgItemText(kFirstField, "frame12345.bmp");
    QWidget* field = WidgetOf(Item(avi_, kFirstField));
    Focus(field);
    avi_.SendDlgItemMessage(kFirstField, EM_SETSEL, 10, 10);
    QTest::keyClick(field, Qt::Key_6);
    EXPECT_EQ(TextOf(avi_, kFirstField), "frame12345.bmp");
    DWORD start = 0;
    DWORD end = 0;
    avi_.SendDlgItemMessage(kFirstField, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 11u);
    EXPECT_EQ(end, 11u);
}

TEST_F(TabPageTest, TheFirstAndLastFilesShareOnePrefix)
{
    // A partner still empty (as before a project fills it) has no name to give the
    // prefix to: it stays empty, and the first name keeps its prefix.
    files_.SetDlgItemText(kFirstField, "shot00010.bmp");
    EXPECT_EQ(TextOf(files_, kFirstField), "shot00010.bmp");
    EXPECT_EQ(TextOf(files_, kLastField), "");

    files_.SetDlgItemText(kLastField, "pic00200.bmp");
    EXPECT_EQ(TextOf(files_, kFirstField), "pic00010.bmp");
    files_.SetDlgItemText(kFirstField, "frame00001.bmp");
    EXPECT_EQ(TextOf(files_, kLastField), "frame00200.bmp");
    files_.SetDlgItemText(kFirstField, "00001.bmp");
    EXPECT_EQ(TextOf(files_, kLastField), "00200.bmp");

    // A field emptied has no prefix to give: it becomes 00000.bmp, the partner keeps its.
    files_.SetDlgItemText(kFirstField, "pic00001.bmp");
    files_.SetDlgItemText(kLastField, "");
    EXPECT_EQ(TextOf(files_, kLastField), "00000.bmp");
    EXPECT_EQ(TextOf(files_, kFirstField), "pic00001.bmp");
}

TEST_F(TabPageTest, PlayFallsBackToOpenAndSaysWhatIsMissing)
{
    CWinApp app("Gresmont");
    const std::string clip = folder_.Write("clip.avi", "x");
    avi_.SetDlgItemText(kAviField, "clip.avi");  // beside the program
    Click(avi_, kPlayButton);
    ASSERT_EQ(desktop_.opened.size(), 1u);
    EXPECT_EQ(desktop_.opened[0], clip);
    EXPECT_TRUE(desktop_.boxes.empty());

    avi_.SetDlgItemText(kAviField, "/missing/x.avi");
    Click(avi_, kPlayButton);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(
        desktop_.boxes[0].text,
        "Cannot play the file:\r\n\r\n  /missing/x.avi\r\n\r\nNo Video Player or invalid file");
    EXPECT_EQ(desktop_.boxes[0].caption, "Gresmont");
    EXPECT_EQ(desktop_.boxes[0].owner, avi_.m_hWnd);
    EXPECT_EQ(desktop_.boxes[0].type, MB_OK);

    // A path as long as a field holds is told whole.
    const std::string longest = "/missing/" + std::string(505, 'v') + ".avi";
    avi_.SetDlgItemText(kAviField, longest.c_str());
    Click(avi_, kPlayButton);
    ASSERT_EQ(desktop_.boxes.size(), 2u);
    EXPECT_NE(desktop_.boxes[1].text.find("  " + longest + "\r\n"), std::string::npos);
    desktop_.boxes.pop_back();

    avi_.SetDlgItemText(kAviField, "   ");
    Click(avi_, kPlayButton);
    EXPECT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.opened.size(), 1u);
}

TEST_F(TabPageTest, OpenFileJoinsTheFolderFieldAndTheName)
{
    std::filesystem::create_directories(dir_ / "img");
    const std::string bitmap = folder_.Write("img/a00001.bmp", "x");
    for (const std::string& folder : {At("img"), At("img") + "/", "  " + At("img") + "  "}) {
        files_.SetDlgItemText(kFolderField, folder.c_str());
        files_.SetDlgItemText(kLastField, "a00001.bmp");
        Click(files_, kOpenLastButton);
        ASSERT_FALSE(desktop_.opened.empty()) << folder;
        EXPECT_EQ(desktop_.opened.back(), bitmap) << folder;
    }
    files_.SetDlgItemText(kFolderField, "");
    Click(files_, kOpenLastButton);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text,
              "Cannot open the file:\r\n\r\n  a00001.bmp\r\n\r\nNo Image Editor or invalid file");
}

TEST_F(TabPageTest, OpenFolderMakesAMissingFolderOrAsksForOne)
{
    // Blank: straight to the browser; a cancel ends it.
    avi_.SetDlgItemText(kFolderField, " ");
    Click(avi_, kOpenFolderButton);
    ASSERT_EQ(desktop_.folderPicks.size(), 1u);
    EXPECT_TRUE(desktop_.opened.empty());

    const std::string missing = At("out\\deep/er");
    avi_.SetDlgItemText(kFolderField, missing.c_str());
    Pump();
    host_.posts.clear();
    Click(avi_, kOpenFolderButton);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "out" / "deep" / "er"));
    ASSERT_EQ(desktop_.opened.size(), 1u);
    EXPECT_EQ(desktop_.opened[0], (dir_ / "out" / "deep" / "er").string());
    Pump();
    EXPECT_EQ(host_.posts, (std::vector<Post>{{kUpdateState, kRefresh}}));

    // A folder that is there but that nothing on the desktop opens: one message, and no
    // browser, since another folder would fare no better.
    desktop_.launchesSucceed = false;
    desktop_.folderAnswers = {At("out"), std::nullopt};
    Click(avi_, kOpenFolderButton);
    EXPECT_EQ(desktop_.folderPicks.size(), 1u);
    EXPECT_EQ(desktop_.opened.size(), 2u);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text, "Cannot open the folder:\r\n\r\n  " + missing +
                                          "\r\n\r\nNo File Manager or invalid folder");
    EXPECT_EQ(TextOf(avi_, kFolderField), missing);
}

TEST_F(TabPageTest, PickersPutTheChoiceIntoTheField)
{
    avi_.SetDlgItemText(kFolderField, "/pics");
    avi_.SetDlgItemText(kFirstField, "old00001.bmp");
    desktop_.fileAnswers = {std::string("/pics/shot7.jpg"), std::string("/v/t.avi"), std::nullopt};
    Click(avi_, kSelectFirstButton);
    EXPECT_EQ(TextOf(avi_, kFirstField), "shot00007.bmp");
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].title, "Open");
    EXPECT_EQ(desktop_.filePicks[0].initialFolder, "/pics");
    EXPECT_EQ(desktop_.filePicks[0].initialName, "old00001.bmp");
    ASSERT_EQ(desktop_.filePicks[0].filters.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].filters[0].description, "Bitmap Files (*.bmp)");
    EXPECT_EQ(desktop_.filePicks[0].filters[0].patterns, std::vector<std::string>{"*.bmp"});

    Click(avi_, kSelectAviButton);  // keeps the whole path
    EXPECT_EQ(TextOf(avi_, kAviField), "/v/t.avi");
    EXPECT_EQ(desktop_.filePicks[1].filters[0].description, "AVI Video File (*.avi)");

    Click(avi_, kSelectAviButton);  // cancelled
    EXPECT_EQ(desktop_.filePicks[2].initialFolder, "/v/t.avi");
    EXPECT_EQ(TextOf(avi_, kAviField), "/v/t.avi");

    desktop_.folderAnswers = {std::string("/chosen"), std::nullopt};
    Click(avi_, kSelectFolderButton);
    EXPECT_EQ(TextOf(avi_, kFolderField), "/chosen");
    Click(avi_, kSelectFolderButton);
    EXPECT_EQ(TextOf(avi_, kFolderField), "/chosen");
}

TEST_F(TabPageTest, FieldsDisableTogetherAndEachControlsTipIsItsText)
{
    files_.EnableFields(FALSE);
    for (int id :
         {kSelectAviButton, kPlayButton, kSelectFolderButton, kSelectFirstButton, kSelectLastButton,
          kOpenFolderButton, kOpenFirstButton, kOpenLastButton, kStepList, kRateList,
          kCompressorList, kAviField, kFirstField, kLastField, kFolderField})
        EXPECT_FALSE(IsWindowEnabled(Item(files_, id))) << id;
    files_.EnableFields(TRUE);
    EXPECT_TRUE(IsWindowEnabled(Item(files_, kFolderField)));

    const std::string path = "/a/very/long/path/" + std::string(300, 'p') + ".avi";
    avi_.SetDlgItemText(kAviField, path.c_str());
    NMTTDISPINFOA request{};
    request.hdr = NMHDR{nullptr, reinterpret_cast<UINT_PTR>(Item(avi_, kAviField)), TTN_NEEDTEXTA};
    request.uFlags = TTF_IDISHWND;
    avi_.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(request.lpszText, nullptr);
    EXPECT_EQ(std::string(request.lpszText), path);
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(Item(avi_, kPlayButton));
    avi_.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ(request.lpszText, "Play");
    // Labels share one id; each tip is still its own label's text.
    HWND stepLabel = nullptr;
    for (QLabel* label : WidgetOf(avi_.m_hWnd)->findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("File &Step"))
            stepLabel = reinterpret_cast<HWND>(label->property("tavrinoWindow").value<quintptr>());
    }
    ASSERT_NE(stepLabel, nullptr);
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(stepLabel);
    avi_.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ(request.lpszText, "File &Step");
}

TEST_F(TabPageTest, KeysAndClicksInAPageTellTheMainDialogWhichControl)
{
    QWidget* field = WidgetOf(Item(avi_, kAviField));
    Focus(field);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::mousePress(WidgetOf(Item(avi_, kPlayButton)), Qt::RightButton);
    Pump();
    const auto window = [&](int id) { return reinterpret_cast<WPARAM>(Item(avi_, id)); };
    EXPECT_EQ(host_.posts, (std::vector<Post>{{kFocusText, window(kAviField)},
                                              {kFocusText, window(kAviField)},
                                              {kFocusText, window(kPlayButton)}}));
}
