#include "MainDialogTest.h"

#include "editor/engine/AVIToFiles.h"
#include "editor/engine/EditorHarness.h"
#include "editor/engine/FilesToAVI.h"
#include "platform/ui/Gdi.h"
#include "support/WidgetOf.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <filesystem>

using namespace gresmont;

namespace {

using editortest::WaitFor;

constexpr int kFrames = 10;

class MainDialog : public editortest::MainDialogTest {
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        template_ = At("template.avi");
        ASSERT_TRUE(testmedia::WriteDibAvi(template_, editortest::ColourFrames(kFrames, 32, 24), 10,
                                           testmedia::DibLayout::Rgb24BottomUp));
    }
    LPARAM Sender(int tab)
    {
        CVideoGraph* converter = Page(tab).GetConverter();
        return tab == 0 ? reinterpret_cast<LPARAM>(static_cast<CAVIToFiles*>(converter))
                        : reinterpret_cast<LPARAM>(static_cast<CFilesToAVI*>(converter));
    }
    void Post(UINT message, WPARAM wParam, LPARAM sender)
    {
        dialog_->PostMessage(message, wParam, sender);
        WaitFor([] { return true; });
    }
    void Click(int id)
    {
        dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                             reinterpret_cast<LPARAM>(Item(id)));
    }
    // Opens on the first page with the template counted.
    void OpenCounted()
    {
        Open();
        SetField(0, kAviField, template_);
        ASSERT_TRUE(WaitForProgress("10 frames"));
    }
    // Numbered bitmaps shot00000.bmp ... in the folder run, and the files page set to them.
    void FillFilesRun(int count, const std::string& output)
    {
        std::filesystem::create_directories(dir_ / "run");
        const auto pictures = editortest::ColourFrames(count, 32, 24);
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(editortest::WriteBitmap(At("run/" + editortest::BitmapName("shot", i)),
                                                pictures[i]));
        PickTab(1);
        SetField(1, kAviField, output);
        SetField(1, kFolderField, At("run"));
        SetField(1, kFirstField, "shot00000.bmp");
        SetField(1, kLastField, editortest::BitmapName("shot", count - 1));
        WaitFor([] { return true; });
    }
    int MenuState(UINT command, UINT flags)
    {
        return ::EnableMenuItem(::GetSubMenu(::GetMenu(dialog_->m_hWnd), 0), command,
                                MF_BYCOMMAND | flags);
    }

    std::string template_;
};

HGDIOBJ Icon(int id)
{
    return LoadImageA(&kEditorModule, MAKEINTRESOURCEA(static_cast<WORD>(id)), IMAGE_ICON, 0, 0,
                      LR_DEFAULTSIZE | LR_SHARED);
}

}  // namespace

TEST_F(MainDialog, StartsWithDefaultsIconsAndTheFoldersThePagesNeed)
{
    Open();
    EXPECT_EQ(Tab(), 0);
    EXPECT_TRUE(Page(0).IsWindowVisible());
    EXPECT_FALSE(Page(1).IsWindowVisible());
    EXPECT_EQ(dialog_->SendDlgItemMessage(kTabControl, TCM_GETITEMCOUNT), 2);
    for (const char* folder : {"VideoTemplateProject", "VideoTemplateImages", "VideoTemplate"})
        EXPECT_TRUE(std::filesystem::is_directory(dir_ / folder)) << folder;
    EXPECT_EQ(Field(0, kFolderField), At("VideoTemplateImages"));
    EXPECT_EQ(Field(0, kFirstField), "00000.bmp");
    EXPECT_EQ(Field(0, kStepList), "10");
    EXPECT_EQ(Field(1, kFolderField), At("VideoTemplateImages"));
    EXPECT_EQ(Field(1, kRateList), "2.00 frame/sec");
    EXPECT_EQ(Field(1, kCompressorList), "(No Compression)");
    EXPECT_EQ(Line(kProgressLine), "");
    EXPECT_FALSE(Enabled(kStartButton));
    EXPECT_FALSE(Enabled(kStopButton));
    for (const auto& [button, icon] : {std::pair{kStartButton, kStartIconId},
                                       {kStopButton, kStopIconId},
                                       {IDCANCEL, kExitIconId}})
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(Item(button), BM_GETIMAGE, IMAGE_ICON, 0)),
                  Icon(icon));
}

TEST_F(MainDialog, ACommandLineOpensItsTemplateOnTheFirstPageAndCountsIt)
{
    WriteProject("RecentProject.tmp",
                 "[Tab]\nTab=1\n[AVI to Files]\nAVIFile=/else/where.avi\nFileStep=3\n");
    CWinApp app("Gresmont");
    const std::string commandLine = " \t\r\n" + template_;
    app.m_lpCmdLine = commandLine.c_str();
    Open();
    EXPECT_EQ(Tab(), 0);
    EXPECT_TRUE(Page(0).IsWindowVisible());
    EXPECT_EQ(Field(0, kAviField), template_);
    EXPECT_EQ(Field(0, kStepList), "3");
    ASSERT_TRUE(WaitForProgress("10 frames"));
    EXPECT_EQ(Line(kFieldLine), "");
    EXPECT_TRUE(Enabled(kStartButton));
    EXPECT_FALSE(Enabled(kStopButton));
}

TEST_F(MainDialog, AStoredRunReadyToGoGetsStartAndTheFocus)
{
    WriteProject("RecentProject.tmp", "[Tab]\nTab=1\n");
    std::filesystem::create_directories(dir_ / "VideoTemplateImages");
    ASSERT_TRUE(editortest::WriteBitmap(At("VideoTemplateImages/00000.bmp"),
                                        editortest::FlatPicture(8, 8, 0x102030)));
    Open();
    EXPECT_EQ(Tab(), 1);
    EXPECT_TRUE(Enabled(kStartButton));
    // The focus shows once the window is the active one, as the desktop makes it.
    QApplication::setActiveWindow(WidgetOf(dialog_->m_hWnd));
    EXPECT_EQ(GetFocus(), Item(kStartButton));
    ASSERT_FALSE(desktop_.pictures.empty());
    EXPECT_EQ(desktop_.pictures.back().name, "Files to AVI");
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Show);

    // Pressing Start brings the preview up to date before the click is taken.
    const std::size_t shown = desktop_.pictures.size();
    QTest::mousePress(WidgetOf(Item(kStartButton)), Qt::LeftButton);
    ASSERT_GT(desktop_.pictures.size(), shown);
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Show);
    EXPECT_TRUE(Enabled(kStartButton));  // pressed, not clicked: nothing started
}

TEST_F(MainDialog, ProgressCountsAgainstKnownFramesOrAloneAndOnlyTheConvertersAreHeard)
{
    OpenCounted();
    Post(kFrameDone, 4, Sender(0));
    EXPECT_EQ(Line(kProgressLine), "Frame 5 of 10 (50%)");
    Post(kFrameDone, 11, Sender(0));
    EXPECT_EQ(Line(kProgressLine), "Frame 10 of 10 (100%)");
    Post(kActivityText, 1, Sender(0));
    EXPECT_EQ(Line(kFieldLine), "Counting number of frame ...");
    Post(kActivityText, 0, Sender(1));
    EXPECT_EQ(Line(kFieldLine), "Processing bitmap files to AVI file ...");

    // Anything else posting these numbers is no converter of this dialog.
    for (LPARAM stranger : {LPARAM{0}, reinterpret_cast<LPARAM>(dialog_.get())}) {
        Post(kFrameDone, 0, stranger);
        Post(kActivityText, 0, stranger);
        Post(kGraphNotify, 0, stranger);
        Post(kCountDone, 3, stranger);
        Post(kConvertDone, 3, stranger);
    }
    EXPECT_EQ(Line(kProgressLine), "Frame 10 of 10 (100%)");
    EXPECT_EQ(Line(kFieldLine), "Processing bitmap files to AVI file ...");

    PickTab(1);  // the files converter has no count yet
    Post(kFrameDone, 0, Sender(1));
    EXPECT_EQ(Line(kProgressLine), "1 frame");
    Post(kFrameDone, 1, Sender(1));
    EXPECT_EQ(Line(kProgressLine), "2 frames");
    Post(kCountDone, 0, Sender(0));
    EXPECT_EQ(Line(kProgressLine), "0 frame");
}

TEST_F(MainDialog, WhileARunGoesTheTabOpenProjectAndTheFieldsAreLocked)
{
    OpenCounted();
    std::filesystem::create_directories(dir_ / "out");
    SetField(0, kFolderField, At("out"));
    ASSERT_TRUE(Enabled(kStartButton));
    Click(kStartButton);
    // Nothing has been delivered since: the run is still going as far as the dialog knows.
    EXPECT_FALSE(Enabled(kStartButton));
    EXPECT_TRUE(Enabled(kStopButton));
    EXPECT_FALSE(Enabled(kTabControl));
    for (int tab : {0, 1})
        EXPECT_FALSE(IsWindowEnabled(PageItem(tab, kFolderField))) << tab;
    EXPECT_EQ(MenuState(kOpenProjectCommand, MF_GRAYED), static_cast<int>(MF_GRAYED));
    EXPECT_EQ(MenuState(kSaveProjectCommand, MF_ENABLED), static_cast<int>(MF_ENABLED));
    EXPECT_EQ(MenuState(kSaveProjectAsCommand, MF_ENABLED), static_cast<int>(MF_ENABLED));
    EXPECT_EQ(Line(kFieldLine), "Processing AVI file to bitmap files ...");
    EXPECT_EQ(Line(kProgressLine), "");

    Click(kStopButton);
    EXPECT_EQ(Line(kFieldLine), "");
    EXPECT_TRUE(Enabled(kTabControl));
    EXPECT_TRUE(IsWindowEnabled(PageItem(1, kFolderField)));
    EXPECT_EQ(MenuState(kOpenProjectCommand, MF_ENABLED), static_cast<int>(MF_ENABLED));
    ASSERT_TRUE(WaitFor([&] { return Enabled(kStartButton); }));
}

TEST_F(MainDialog, AConversionIntoTheFolderEndsWithItsCount)
{
    OpenCounted();
    std::filesystem::create_directories(dir_ / "out");
    SetField(0, kFolderField, At("out"));
    SetField(0, kFirstField, "f00001.bmp");
    Click(kStartButton);
    ASSERT_TRUE(WaitForProgress("Frame 10 of 10 (100%)"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "f00091.bmp"));
    EXPECT_TRUE(Enabled(kStartButton));
}

TEST_F(MainDialog, ALateEndOfACompletedRunDoesNotStopTheNextOne)
{
    constexpr int kRun = 40;
    Open();
    const std::string output = At("made.avi");
    FillFilesRun(kRun, output);
    ASSERT_TRUE(Enabled(kStartButton));
    Click(kStartButton);
    ASSERT_TRUE(WaitForProgress("Frame 40 of 40 (100%)"));
    EXPECT_EQ(editortest::ProbeVideo(output).frameCount, kRun);

    // The second end of a completed run is posted as the run is closed, so a Start quick
    // enough comes after it.
    dialog_->PostMessage(kConvertDone, kRun, Sender(1));
    Click(kStartButton);
    ASSERT_TRUE(WaitForProgress("Frame 40 of 40 (100%)"));
    EXPECT_EQ(editortest::ProbeVideo(output).frameCount, kRun);
}

TEST_F(MainDialog, AFailedRunSaysSoInsteadOfACount)
{
    OpenCounted();
    std::filesystem::create_directories(dir_ / "gone");
    SetField(0, kFolderField, At("gone"));
    WaitFor([] { return true; });
    ASSERT_TRUE(Enabled(kStartButton));
    std::filesystem::remove(dir_ / "gone");
    Click(kStartButton);
    ASSERT_TRUE(WaitForProgress("Writing the bitmap files failed"));

    // Every write to this device fails as on a full disk.
    FillFilesRun(3, "/dev/full");
    ASSERT_TRUE(Enabled(kStartButton));
    Click(kStartButton);
    ASSERT_TRUE(WaitForProgress("Writing the video failed"));
}

TEST_F(MainDialog, ARunThatCannotStartSaysSoAndLeavesEveryFileAsItWas)
{
    namespace fs = std::filesystem;
    OpenCounted();
    // The first bitmap's name is the template itself.
    fs::create_directories(dir_ / "out");
    fs::create_hard_link(template_, dir_ / "out" / "f00001.bmp");
    const std::string video = testmedia::ReadWholeFile(template_);
    SetField(0, kFolderField, At("out"));
    SetField(0, kFirstField, "f00001.bmp");
    ASSERT_TRUE(WaitFor([&] { return Enabled(kStartButton); }));
    Click(kStartButton);
    EXPECT_EQ(Line(kProgressLine), "Writing the bitmap files failed");
    EXPECT_TRUE(Enabled(kStartButton));
    EXPECT_EQ(testmedia::ReadWholeFile(template_), video);

    // A compressor that refuses frames of odd sizes: an older video of the output's name
    // is kept as it was, and the line says that no video was written.
    std::filesystem::create_directories(dir_ / "run");
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(editortest::WriteBitmap(At("run/" + editortest::BitmapName("odd", n)),
                                            editortest::FlatPicture(321, 241, 0x336699)));
    ASSERT_TRUE(testmedia::WriteTextFile(At("made.avi"), "an older video"));
    PickTab(1);
    SetField(1, kAviField, At("made.avi"));
    SetField(1, kFolderField, At("run"));
    SetField(1, kFirstField, "odd00000.bmp");
    SetField(1, kLastField, "odd00002.bmp");
    ASSERT_NE(Page(1).SendDlgItemMessage(kCompressorList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("H.264 Video")),
              CB_ERR);
    ASSERT_TRUE(WaitFor([&] { return Enabled(kStartButton); }));
    Click(kStartButton);
    EXPECT_EQ(Line(kProgressLine), "Writing the video failed");
    EXPECT_TRUE(Enabled(kStartButton));
    EXPECT_EQ(testmedia::ReadWholeFile(At("made.avi")), "an older video");
}

TEST_F(MainDialog, TheFocusedFieldOrItsButtonShowsTheWholePath)
{
    Open();
    const std::string input = "/some/where/" + std::string(100, 'x') + ".avi";
    SetField(0, kAviField, input);
    const auto focusOn = [&](HWND control) {
        Focus(WidgetOf(control));
        dialog_->PostMessage(kFocusText);
        WaitFor([] { return true; });
    };
    focusOn(PageItem(0, kSelectAviButton));
    EXPECT_EQ(Line(kFieldLine), input);
    focusOn(PageItem(0, kOpenFolderButton));
    EXPECT_EQ(Line(kFieldLine), At("VideoTemplateImages"));
    focusOn(Item(IDCANCEL));
    EXPECT_EQ(Line(kFieldLine), "");
    PickTab(1);
    SetField(1, kLastField, "shot00099.bmp");
    focusOn(PageItem(1, kOpenLastButton));
    EXPECT_EQ(Line(kFieldLine), "shot00099.bmp");
    focusOn(PageItem(1, kRateList));
    EXPECT_EQ(Line(kFieldLine), "2.00 frame/sec");
}

TEST_F(MainDialog, ToolTipsAreTheControlsOwnTextsCutTo79Characters)
{
    Open();
    const auto tip = [&](int id, UINT flags) {
        NMTTDISPINFOA request{};
        request.hdr = NMHDR{nullptr, reinterpret_cast<UINT_PTR>(Item(id)), TTN_NEEDTEXTA};
        request.uFlags = flags;
        dialog_->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        return std::string(request.lpszText ? request.lpszText : request.szText);
    };
    EXPECT_EQ(tip(kStartButton, TTF_IDISHWND), "Start");
    EXPECT_EQ(tip(kStopButton, TTF_IDISHWND), "Stop");
    EXPECT_EQ(tip(IDCANCEL, TTF_IDISHWND), "Exit Gresmont");
    dialog_->SetDlgItemText(kFieldLine, std::string(200, 'p').c_str());
    EXPECT_EQ(tip(kFieldLine, TTF_IDISHWND), std::string(79, 'p'));
    EXPECT_EQ(tip(kStartButton, 0), "");
}

TEST_F(MainDialog, AboutBoxAndHelp)
{
    Open();
    QStringList texts;
    int pictures = 0;
    QTimer::singleShot(0, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window->windowTitle() != QStringLiteral("About Gresmont"))
                continue;
            for (QLabel* label : window->findChildren<QLabel*>()) {
                texts << label->text();
                pictures += label->pixmap().isNull() ? 0 : 1;
            }
            const auto about =
                reinterpret_cast<HWND>(window->property("tavrinoWindow").value<quintptr>());
            SendMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    });
    Command(kAboutCommand);
    EXPECT_TRUE(texts.contains(QStringLiteral("Gresmont Version 1.0")));
    EXPECT_EQ(pictures, 2);  // icon 130 and bitmap 120

    Command(kHelpCommand);
    EXPECT_EQ(desktop_.opened, std::vector<std::string>{"https://www.halvorsk.example/"});
    EXPECT_TRUE(desktop_.boxes.empty());
    // Without a desktop opener the user is told once.
    desktop_.launchesSucceed = false;
    Command(kHelpCommand);
    EXPECT_EQ(desktop_.opened.size(), 2u);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text,
              "Cannot open the address:\r\n\r\n  https://www.halvorsk.example/\r\n\r\nNo Web "
              "Browser or invalid address");
}

TEST_F(MainDialog, EnterInAFieldEndsTheProgramThroughExitSavingTheRecentProjectFirst)
{
    Open();
    SetField(0, kFirstField, "shot00010.bmp");
    QWidget* field = WidgetOf(PageItem(0, kFirstField));
    Focus(field);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(dialog_->Page(0), nullptr);
    EXPECT_FALSE(dialog_->IsWindowVisible());
    const std::string saved = testmedia::ReadWholeFile(ProjectFile("RecentProject.tmp"));
    EXPECT_NE(saved.find("FirstFile=shot00010.bmp"), std::string::npos) << saved;
}

TEST_F(MainDialog, MenuExitClosesTheWindowTheSameWay)
{
    Open();
    PickTab(1);
    Command(kExitCommand);
    ASSERT_TRUE(WaitFor([&] { return dialog_->Page(1) == nullptr; }));
    EXPECT_NE(testmedia::ReadWholeFile(ProjectFile("RecentProject.tmp")).find("Tab=1"),
              std::string::npos);
}
