#include "platform/ui/DialogUnits.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/FolderBrowser.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PictureWindows.h"
#include "support/DesktopRecorder.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

class PickersAndMessageBoxesTest : public testmedia::ProgramFolderTest {
protected:
    PickersAndMessageBoxesTest() : ProgramFolderTest("Tavrino") {}
    testmedia::DesktopRecorder desktop_;
};

OPENFILENAMEA Request(char* file, DWORD size, DWORD flags)
{
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.lpstrFilter = "Background Image File (*.bmp; *.jpg)\0*.bmp;*.jpg;\0All\0*.*\0";
    request.lpstrFile = file;
    request.nMaxFile = size;
    request.lpstrInitialDir = "/data/Background";
    request.lpstrTitle = "Open";
    request.Flags = flags;
    request.lpstrDefExt = "avp";
    return request;
}

}  // namespace

TEST_F(PickersAndMessageBoxesTest, MessageBoxWithoutCaptionShowsTheProgramsName)
{
    EXPECT_EQ(MessageBoxA(nullptr, "Cannot play the file:\r\n\r\n  x", nullptr, MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Please close", "Creation Fail", MB_OK), IDOK);
    ASSERT_EQ(desktop_.boxes.size(), 2u);
    EXPECT_EQ(desktop_.boxes[0].caption, "Tavrino");
    EXPECT_EQ(desktop_.boxes[0].text, "Cannot play the file:\r\n\r\n  x");
    EXPECT_EQ(desktop_.boxes[1].caption, "Creation Fail");
}

TEST_F(PickersAndMessageBoxesTest, FilePickerFiltersByPatternsAndTakesNewNamesUnlessTheyMustExist)
{
    char file[520] = "Recent";
    desktop_.fileAnswers = {std::string("/data/Projects/new"), std::nullopt};
    OPENFILENAMEA save = Request(file, sizeof file, OFN_HIDEREADONLY);
    ASSERT_TRUE(GetOpenFileNameA(&save));
    EXPECT_STREQ(file, "/data/Projects/new.avp");  // the default extension is added
    EXPECT_EQ(save.nFileOffset, 15);
    OPENFILENAMEA open = Request(file, sizeof file, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST);
    EXPECT_FALSE(GetOpenFileNameA(&open));  // Cancel
    EXPECT_STREQ(file, "/data/Projects/new.avp");
    ASSERT_EQ(desktop_.filePicks.size(), 2u);
    const FilePickCall& first = desktop_.filePicks[0];
    EXPECT_EQ(first.title, "Open");
    EXPECT_EQ(first.initialFolder, "/data/Background");
    EXPECT_EQ(first.initialName, "Recent");
    EXPECT_FALSE(first.mustExist);
    EXPECT_TRUE(desktop_.filePicks[1].mustExist);
    ASSERT_EQ(first.filters.size(), 2u);
    EXPECT_EQ(first.filters[0].description, "Background Image File (*.bmp; *.jpg)");
    EXPECT_EQ(first.filters[0].patterns, (std::vector<std::string>{"*.bmp", "*.jpg"}));
    EXPECT_EQ(first.filters[1].patterns, std::vector<std::string>{"*.*"});
}

TEST_F(PickersAndMessageBoxesTest, APickedPathThatDoesNotFitTheBufferIsRefused)
{
    char file[16] = "keep.avp";
    desktop_.fileAnswers = {std::string("/a/very/long/name.avi")};
    OPENFILENAMEA request = Request(file, sizeof file, 0);
    EXPECT_FALSE(GetOpenFileNameA(&request));
    EXPECT_STREQ(file, "keep.avp");
}

namespace {

int SelectData(HWND browser, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

TEST_F(PickersAndMessageBoxesTest, TheRealPickersAnswerNamesThatAreNoUtf8ByteForByte)
{
    // A name written in Latin-1 on an old disk: its e-acute is the one byte E9, which Qt
    // shows as U+FFFD; beside it a name that Qt shows differently.
    const std::string folder = (dir_ / "Vid\xC3\xA9os").string();
    std::filesystem::create_directory(folder);
    const std::string file = folder + "/caf\xE9.avi";
    std::ofstream(file) << "x";
    std::ofstream(folder + "/caf\xE9.bmp") << "x";
    DesktopHooks hooks = CurrentDesktopHooks();
    hooks.pickFile = nullptr;
    InstallDesktopHooks(hooks);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->selectFile(QFile::decodeName(QByteArray("caf\xE9.avi")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    char picked[520] = {};
    OPENFILENAMEA request = Request(picked, sizeof picked, 0);
    request.lpstrInitialDir = folder.c_str();
    request.lpstrDefExt = nullptr;
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(picked), file);
}

TEST_F(PickersAndMessageBoxesTest, TheRealPickerFindsANameTypedWithoutItsDefaultExtension)
{
    std::ofstream(dir_ / "Project.avp") << "[Tab]";
    DesktopHooks hooks = CurrentDesktopHooks();
    hooks.pickFile = nullptr;
    InstallDesktopHooks(hooks);
    // Shared with a timer that may outlive the test once the pick has ended.
    const auto notFound = std::make_shared<bool>(false);
    QTimer::singleShot(0, [notFound] {
        const QPointer dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        // A "File not found" box holds the dialog's accept in a loop of its own.
        QTimer::singleShot(0, [notFound] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *notFound = true;
                box->reject();
            }
        });
        dialog->selectFile(QStringLiteral("Project"));
        QMetaObject::invokeMethod(dialog, "accept");
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    char picked[520] = {};
    OPENFILENAMEA request = Request(picked, sizeof picked, OFN_FILEMUSTEXIST);
    request.lpstrFilter = "AVI Project (*.avp)\0*.avp;\0";
    request.lpstrInitialDir = dir_.c_str();
    EXPECT_TRUE(GetOpenFileNameA(&request));
    EXPECT_FALSE(*notFound);
    EXPECT_EQ(std::string(picked), (dir_ / "Project.avp").string());
}

TEST_F(PickersAndMessageBoxesTest, FolderBrowserOpensWhereItsCallbackSelectsSynchronously)
{
    desktop_.folderAnswers = {std::string("/data/Audio"), std::string(300, 'x')};
    char start[] = "/data/Background";
    char name[260] = {};
    BROWSEINFOA request{nullptr,
                        nullptr,
                        name,
                        nullptr,
                        BIF_RETURNONLYFSDIRS,
                        &SelectData,
                        reinterpret_cast<LPARAM>(start),
                        0};
    LPITEMIDLIST chosen = SHBrowseForFolderA(&request);
    ASSERT_NE(chosen, nullptr);
    ASSERT_EQ(desktop_.folderPicks.size(), 1u);
    EXPECT_EQ(desktop_.folderPicks[0].startFolder, "/data/Background");
    EXPECT_STREQ(name, "Audio");
    char path[MAX_PATH] = {};
    EXPECT_TRUE(SHGetPathFromIDListA(chosen, path));
    EXPECT_STREQ(path, "/data/Audio");
    IMalloc* allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    allocator->Free(chosen);
    // A folder whose path needs more than MAX_PATH bytes is refused, never cut.
    LPITEMIDLIST tooLong = SHBrowseForFolderA(&request);
    ASSERT_NE(tooLong, nullptr);
    strcpy(path, "kept");
    EXPECT_FALSE(SHGetPathFromIDListA(tooLong, path));
    EXPECT_STREQ(path, "kept");
    allocator->Free(tooLong);
    EXPECT_EQ(SHBrowseForFolderA(&request), nullptr);  // no answer left: Cancel
}

TEST_F(PickersAndMessageBoxesTest, PicturesShowOnlyInWindowsThatAreOpen)
{
    const unsigned char pixels[8 * 4 * 3] = {};
    const PictureView picture{8, 4, 3, 24, pixels, true};
    ShowPicture("Background", picture);
    EXPECT_TRUE(desktop_.pictures.empty());
    cvNamedWindow("Background", CV_WINDOW_AUTOSIZE);
    cvNamedWindow("Background", CV_WINDOW_AUTOSIZE);
    EXPECT_TRUE(IsPictureWindowOpen("Background"));
    ShowPicture("Background", picture);
    cvNamedWindow("FaceImage");
    cvDestroyWindow("Background");
    ShowPicture("Background", picture);
    cvDestroyAllWindows();
    EXPECT_FALSE(IsPictureWindowOpen("FaceImage"));
    ASSERT_EQ(desktop_.pictures.size(), 5u);
    EXPECT_EQ(desktop_.pictures[0].action, PictureWindowAction::Open);
    EXPECT_EQ(desktop_.pictures[1].action, PictureWindowAction::Show);
    EXPECT_EQ(desktop_.pictures[1].width, 8);
    EXPECT_EQ(desktop_.pictures[1].height, 4);
    EXPECT_EQ(desktop_.pictures[2].name, "FaceImage");
    EXPECT_EQ(desktop_.pictures[3].action, PictureWindowAction::Destroy);
    EXPECT_EQ(desktop_.pictures[4].name, "FaceImage");
}

TEST(DialogUnits, BaseUnitsOfSixByThirteenScaleWithTheScreen)
{
    EXPECT_EQ(DialogUnitsToPixelsX(160, 96), 240);
    EXPECT_EQ(DialogUnitsToPixelsY(120, 96), 195);
    EXPECT_EQ(DialogUnitsToPixelsX(160, 144), 360);
    EXPECT_EQ(DialogUnitsToPixelsY(14, 96), 23);  // 22.75 rounds up
    const RECT pixels = DialogRectToPixels(RECT{5, 20, 165, 140}, 96);
    EXPECT_EQ(pixels.left, 8);  // 7.5
    EXPECT_EQ(pixels.bottom, 228);
}
