#include "MainDialogTest.h"

#include "creator/app/AboutDlgResource.h"
#include "creator/app/PlumetaApp.h"
#include "platform/win/MessageLoop.h"
#include "support/Fifo.h"
#include "support/TestMedia.h"
#include "support/WidgetOf.h"

#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <filesystem>
#include <functional>

using namespace tavrino_test;

namespace {

constexpr char kDefaultProjectText[] = "[VideoProject]\n"
                                       "Background=Background\\Garden.jpg\n"
                                       "FaceImage=/faces/Face.bmp\n"
                                       "VideoTemplate=/templates/Dancer.avi\n"
                                       "Audio=/music/Melody.wav\n"
                                       "Video=/videos/Default.avi\n"
                                       "AudioDelay=2500\n"
                                       "FaceSize=150%\n";

// The whole way out of a modal run: the action runs once the dialog's loop runs.
class MainDialogExitTest : public MainDialogTest,
                           public ::testing::WithParamInterface<const char*> {};

void PressKey(HWND control, Qt::Key key)
{
    QWidget* widget = WidgetOf(control);
    Focus(widget);
    QTest::keyClick(widget, key);
}

void TriggerMenuItem(HWND dialog, const char* text)
{
    for (QAction* action : WidgetOf(dialog)->findChildren<QAction*>()) {
        if (action->text() == QString::fromUtf8(text))
            action->trigger();
    }
}

}  // namespace

TEST_F(MainDialogTest, StartsWithEveryDefaultWithoutProjectFiles)
{
    Start();
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kProjectFolder), ProjectsFolder().c_str());
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kVideoFolder), (dir_ / "Video").c_str());
    for (int field = kBackgroundPath; field <= kOutputPath; ++field)
        EXPECT_EQ(Text(field), "");
    EXPECT_EQ(Text(kFocusPathLine), "");
    EXPECT_STREQ(dialog_->ProjectPath(), "");
    EXPECT_EQ(dialog_->OptionsPage().GetAudioDelay(), 5000);
    EXPECT_EQ(dialog_->OptionsPage().GetFaceSize(), 120);
    EXPECT_EQ(OptionText(kAudioCompressorList), "GSM 6.10");
    EXPECT_EQ(OptionText(kVideoCompressorList), "Microsoft MPEG-4 Video Codec V2");
    // No template has been read: nothing can be created, nothing stopped.
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
    EXPECT_FALSE(IsWindowEnabled(Item(kStopVideo)));
    EXPECT_TRUE(IsWindowEnabled(Item(kSelectBackground)));
    EXPECT_TRUE(IsWindowEnabled(Options()));
}

TEST_F(MainDialogTest, StartsWithTheDefaultProjectMadeAbsoluteAndShowsTheOutputPath)
{
    ASSERT_TRUE(testmedia::WriteTextFile(DefaultProject(), kDefaultProjectText));
    Start();
    EXPECT_EQ(Text(kBackgroundPath), (dir_ / "Background" / "Garden.jpg").string());
    EXPECT_EQ(Text(kFaceImagePath), "/faces/Face.bmp");
    EXPECT_EQ(Text(kOutputPath), "/videos/Default.avi");
    EXPECT_EQ(Text(kFocusPathLine), "/videos/Default.avi");
    EXPECT_EQ(dialog_->OptionsPage().GetAudioDelay(), 2500);
    EXPECT_EQ(dialog_->OptionsPage().GetFaceSize(), 150);
    // The start project is no project of the user's.
    EXPECT_STREQ(dialog_->ProjectPath(), "");
}

TEST_F(MainDialogTest, TheRecentProjectWinsOverTheDefaultOne)
{
    ASSERT_TRUE(testmedia::WriteTextFile(DefaultProject(), kDefaultProjectText));
    ASSERT_TRUE(
        testmedia::WriteTextFile(RecentProject(), "[VideoProject]\nVideo=/videos/Recent.avi\n"));
    Start();
    EXPECT_EQ(Text(kOutputPath), "/videos/Recent.avi");
    EXPECT_EQ(Text(kBackgroundPath), "");
    EXPECT_EQ(dialog_->OptionsPage().GetAudioDelay(), 5000);
}

TEST_F(MainDialogTest, ARecentProjectThatIsNoProjectFileIsPassedOverAtStartAndExit)
{
    ASSERT_TRUE(testmedia::WriteTextFile(DefaultProject(), kDefaultProjectText));
    // A FIFO, which no writer ever opens, and a link to an endless device.
    ASSERT_TRUE(testmedia::MakeFifo(RecentProject()));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(RecentProject(), [&] {
        Start();
        EXPECT_EQ(Text(kOutputPath), "/videos/Default.avi");
        End();
    }));
    std::filesystem::remove(RecentProject());
    std::filesystem::create_symlink("/dev/zero", RecentProject());
    Start();
    EXPECT_EQ(Text(kOutputPath), "/videos/Default.avi");
    End();
    EXPECT_TRUE(std::filesystem::is_symlink(RecentProject()));

    // A file of 5 MB, far beyond any project, gives no value and is left as it was.
    std::filesystem::remove(RecentProject());
    const std::string huge =
        "[VideoProject]\nVideo=/videos/Recent.avi\n;" + std::string(5u << 20, 'x') + "\n";
    ASSERT_TRUE(testmedia::WriteTextFile(RecentProject(), huge));
    Start();
    EXPECT_EQ(Text(kOutputPath), "");
    EXPECT_EQ(dialog_->OptionsPage().GetAudioDelay(), 5000);
    End();
    EXPECT_EQ(std::filesystem::file_size(RecentProject()), huge.size());
}

TEST_F(MainDialogTest, InputsThatAreFifosLoadNothingAndDoNotHoldTheStart)
{
    const std::string fifo = (dir_ / "Background" / "Garden.jpg").string();
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    ASSERT_TRUE(testmedia::WriteTextFile(
        DefaultProject(), "[VideoProject]\nBackground=" + fifo + "\nFaceImage=" + fifo +
                              "\nVideoTemplate=" + fifo + "\nAudio=" + fifo + "\n"));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(fifo, [&] { Start(); }));
    EXPECT_EQ(Text(kBackgroundPath), fifo);
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
}

TEST_P(MainDialogExitTest, EveryWayOutEndsThroughTheShutdownThatSavesTheRecentProject)
{
    const std::string way = GetParam();
    ASSERT_TRUE(testmedia::WriteTextFile(DefaultProject(), kDefaultProjectText));
    CPlumetaDlg dialog;
    app_.m_pMainWnd = &dialog;
    HWND options = nullptr;
    QTimer::singleShot(0, [&] {
        options = dialog.OptionsPage().m_hWnd;
        HWND window = dialog.m_hWnd;
        if (way == "Escape")
            PressKey(::GetDlgItem(window, kAudioPath), Qt::Key_Escape);
        else if (way == "close box")
            WidgetOf(window)->close();
        else if (way == "menu")
            TriggerMenuItem(window, "&Exit Tavrino");
        else if (way == "Exit button")
            QTest::mouseClick(WidgetOf(::GetDlgItem(window, IDCANCEL)), Qt::LeftButton);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(IsWindow(options));
    const auto saved = ProjectValues(RecentProject());
    EXPECT_EQ(saved.size(), 9u);
    EXPECT_EQ(saved.at("Video"), "/videos/Default.avi");
    EXPECT_EQ(saved.at("AudioDelay"), "2500");
    EXPECT_EQ(saved.at("FaceSize"), "150%");
    EXPECT_EQ(saved.at("AudioCompression"), "GSM 6.10");
    app_.m_pMainWnd = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Ways, MainDialogExitTest,
                         ::testing::Values("Escape", "close box", "menu", "Exit button",
                                           "posted close"));

TEST_F(MainDialogTest, EnterEndsNothing)
{
    Start();
    PressKey(Item(kAudioPath), Qt::Key_Return);
    dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    ProcessPostedMessages();
    EXPECT_TRUE(dialog_->IsWindowVisible());
    EXPECT_TRUE(IsWindow(Options()));
    EXPECT_FALSE(std::filesystem::exists(RecentProject()));
}

TEST_F(MainDialogTest, TheApplicationRunsTheDialogModallyAndEndsAfterIt)
{
    CPlumetaApp app;
    QTimer::singleShot(0, [] { AfxGetMainWnd()->PostMessage(WM_CLOSE); });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_EQ(ProjectValues(RecentProject()).size(), 9u);
}

TEST_F(MainDialogTest, APressOnAControlShowsItsGroupsPathInTheFocusPathLine)
{
    ASSERT_TRUE(testmedia::WriteTextFile(DefaultProject(), kDefaultProjectText));
    Start();
    const auto press = [&](int id) {
        QWidget* widget = WidgetOf(Item(id));
        Focus(widget);
        QTest::mousePress(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
        ProcessPostedMessages();
        return Text(kFocusPathLine);
    };
    EXPECT_EQ(press(kViewFaceImage), "/faces/Face.bmp");
    EXPECT_EQ(press(kPlayVideo), "/videos/Default.avi");
    EXPECT_EQ(press(kSelectAudio), "/music/Melody.wav");
    EXPECT_EQ(press(kTemplatePath), "/templates/Dancer.avi");
    EXPECT_EQ(press(kShowOptions), "/templates/Dancer.avi");  // no group's
    dialog_->OptionsPage().ShowWindow(SW_HIDE);
    // A key counts as a press too: the line follows once the key has moved the focus.
    PressKey(Item(kViewBackground), Qt::Key_Space);
    ProcessPostedMessages();
    EXPECT_EQ(Text(kFocusPathLine), Text(kBackgroundPath));
}

TEST_F(MainDialogTest, EveryToolTipIsItsControlsOwnTextEachTime)
{
    Start();
    const auto tip = [&](int id) {
        QWidget* widget = WidgetOf(Item(id));
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &help);
        return QToolTip::text().toStdString();
    };
    EXPECT_EQ(tip(kVisitWebSite), "Get More Video Templates and Audio Files");
    EXPECT_EQ(tip(IDCANCEL), "Exit");
    const std::string longPath = "/" + std::string(518, 'p');
    ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, longPath.c_str());
    EXPECT_EQ(tip(kTemplatePath), longPath);
    ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, "/t/Other.avi");
    EXPECT_EQ(tip(kTemplatePath), "/t/Other.avi");
}

TEST_F(MainDialogTest, OptionsShowsAndHidesTheCentredPageOwnedByTheDialog)
{
    Start();
    EXPECT_EQ(::GetParent(Options()), dialog_->m_hWnd);
    EXPECT_FALSE(IsWindowVisible(Options()));
    QTest::mouseClick(WidgetOf(Item(kShowOptions)), Qt::LeftButton);
    EXPECT_TRUE(IsWindowVisible(Options()));
    const QRect page = WidgetOf(Options())->geometry();
    const QRect screen = WidgetOf(Options())->screen()->availableGeometry();
    EXPECT_LE(std::abs(page.center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(page.center().y() - screen.center().y()), 2);
    QTest::mouseClick(WidgetOf(Item(kShowOptions)), Qt::LeftButton);
    EXPECT_FALSE(IsWindowVisible(Options()));
}

TEST_F(MainDialogTest, TheWebSiteOpensFromItsButtonAndFromTheHelpMenu)
{
    Start();
    QTest::mouseClick(WidgetOf(Item(kVisitWebSite)), Qt::LeftButton);
    TriggerMenuItem(dialog_->m_hWnd, "&Using Tavrino");
    ASSERT_EQ(desktop_.opened.size(), 2u);
    EXPECT_EQ(desktop_.opened[0], "https://www.halvorsk.example/");
    EXPECT_EQ(desktop_.opened[1], desktop_.opened[0]);
    EXPECT_TRUE(desktop_.boxes.empty());

    // Without a desktop opener the user is told once.
    desktop_.launchesSucceed = false;
    QTest::mouseClick(WidgetOf(Item(kVisitWebSite)), Qt::LeftButton);
    EXPECT_EQ(desktop_.opened.size(), 3u);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text,
              "Cannot open the address:\r\n\r\n  https://www.halvorsk.example/\r\n\r\nNo Web "
              "Browser or invalid address");
    EXPECT_EQ(desktop_.boxes[0].caption, "Tavrino");
}

TEST_F(MainDialogTest, AboutRunsItsBoxModallyUntilOk)
{
    Start();
    std::string version;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("About Tavrino"));
        for (QLabel* label : box->findChildren<QLabel*>())
            version += label->text().toStdString();
        QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
    });
    TriggerMenuItem(dialog_->m_hWnd, "&About Tavrino");
    EXPECT_NE(version.find(kAboutVersionText), std::string::npos);
    EXPECT_TRUE(dialog_->IsWindowVisible());
}

TEST_F(MainDialogTest, AProgramFolderTooDeepForAPathLeavesThatPathEmpty)
{
    // 506 characters of folder: "/VideoProject" just fits a path buffer, "/VideoTemplate"
    // does not, nor does the recent project inside the projects folder.
    const std::string deep = "/" + std::string(505, 'd');
    SetModuleFileNameForTesting((deep + "/Tavrino").c_str());
    Start();
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kProjectFolder),
                 (deep + "/VideoProject").c_str());
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kAudioFolder), (deep + "/Audio").c_str());
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kTemplateFolder), "");
    End();
    EXPECT_FALSE(std::filesystem::exists("/RecentProject.tmp"));
    EXPECT_FALSE(std::filesystem::exists("RecentProject.tmp"));
}

TEST_F(MainDialogTest, AProgramPathTooLongForItsBufferGivesNoFolders)
{
    SetModuleFileNameForTesting(("/" + std::string(600, 'p') + "/Tavrino").c_str());
    Start();
    for (int folder = 0; folder < CPlumetaDlg::kFolderCount; ++folder)
        EXPECT_STREQ(dialog_->FolderPath(static_cast<CPlumetaDlg::Folder>(folder)), "");
}
