#include "MainDialogTest.h"

#include "platform/ui/WindowServices.h"
#include "platform/ui/qt/GdiObjects.h"
#include "support/MessagePump.h"
#include "support/TaskState.h"
#include "support/TestMedia.h"
#include "support/WaitUntil.h"
#include "support/WidgetOf.h"

#include <QTest>

#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

using namespace tavrino_test;

namespace {

// The main dialog with the desktop's answers recorded, for the input groups' buttons,
// fields and previews.
class InputGroupsTest : public MainDialogTest {
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        Start();
    }

    void Click(int id) { QTest::mouseClick(WidgetOf(Item(id)), Qt::LeftButton); }
    void SetField(int id, const std::string& text)
    {
        ::SetDlgItemTextA(dialog_->m_hWnd, id, text.c_str());
    }
    std::string In(const char* relative) const { return (dir_ / relative).string(); }

    // A picture whose top `topRows` rows are red and the rest blue, written as a file.
    static void WritePicture(const std::string& path, int width, int height, int topRows)
    {
        cv::Mat picture(height, width, CV_8UC3, cv::Scalar(255, 0, 0));
        picture.rowRange(0, topRows).setTo(cv::Scalar(0, 0, 255));
        ASSERT_TRUE(cv::imwrite(path, picture));
    }

    // The picture a preview button shows; null when none.
    const QImage* Preview(int button) const
    {
        return LiveBitmap(
            reinterpret_cast<HBITMAP>(::SendMessageA(Item(button), BM_GETIMAGE, IMAGE_BITMAP, 0)));
    }
    bool WaitForStatus(const std::string& status)
    {
        return testmedia::PumpUntil([&] { return Text(kStatusLine) == status; });
    }
};

std::vector<std::string> Patterns(std::initializer_list<const char*> patterns)
{
    return {patterns.begin(), patterns.end()};
}

}  // namespace

TEST_F(InputGroupsTest, EveryPickerOffersItsFilterFromItsGroupsFolderWithAnEmptyName)
{
    struct Picker {
        int button;
        int field;
        CPlumetaDlg::Folder folder;
        const char* description;
        std::vector<std::string> patterns;
    };
    const Picker pickers[] = {
        {kSelectBackground, kBackgroundPath, CPlumetaDlg::kBackgroundFolder,
         "Background Image File (*.bmp; *.jpg)", Patterns({"*.bmp", "*.jpg"})},
        {kSelectFaceImage, kFaceImagePath, CPlumetaDlg::kFaceImageFolder,
         "Face Image File (*.bmp; *.jpg)", Patterns({"*.bmp", "*.jpg"})},
        {kSelectTemplate, kTemplatePath, CPlumetaDlg::kTemplateFolder,
         "Video Template File (*.avi)", Patterns({"*.avi"})},
        {kSelectAudio, kAudioPath, CPlumetaDlg::kAudioFolder,
         "Audio File (*mid; *.mp3; *.wav; *.wma)", Patterns({"*.mid", "*.mp3", "*.wav", "*.wma"})},
        {kSelectVideo, kOutputPath, CPlumetaDlg::kVideoFolder, "Video File (*.avi)",
         Patterns({"*.avi"})},
    };
    for (const Picker& picker : pickers) {
        SCOPED_TRACE(picker.description);
        SetField(picker.field, "/kept/before.x");
        desktop_.filePicks.clear();
        Click(picker.button);
        ASSERT_EQ(desktop_.filePicks.size(), 1u);
        const FilePickCall& call = desktop_.filePicks[0];
        EXPECT_EQ(call.title, "Open");
        EXPECT_EQ(call.initialFolder, dialog_->FolderPath(picker.folder));
        EXPECT_EQ(call.initialName, "");
        ASSERT_EQ(call.filters.size(), 1u);
        EXPECT_EQ(call.filters[0].description, picker.description);
        EXPECT_EQ(call.filters[0].patterns, picker.patterns);
        EXPECT_EQ(call.defaultExtension, "");
        EXPECT_FALSE(call.mustExist);
        // Cancel keeps the field; a choice becomes its text and the focus-path line's.
        EXPECT_EQ(Text(picker.field), "/kept/before.x");
        desktop_.fileAnswers.push_back(In("chosen.x"));
        Click(picker.button);
        EXPECT_EQ(Text(picker.field), In("chosen.x"));
        EXPECT_EQ(Text(kFocusPathLine), In("chosen.x"));
    }
}

TEST_F(InputGroupsTest, AFolderButtonOpensItsFolderOrAsksForOneThatTheGroupThenKeeps)
{
    Click(kOpenBackgroundFolder);
    ASSERT_EQ(desktop_.opened.size(), 1u);
    EXPECT_EQ(desktop_.opened[0], In("Background"));
    EXPECT_TRUE(desktop_.folderPicks.empty());

    std::filesystem::remove(dir_ / "Audio");
    std::filesystem::create_directory(dir_ / "Music");
    desktop_.folderAnswers.push_back(In("Music"));
    Click(kOpenAudioFolder);
    ASSERT_EQ(desktop_.folderPicks.size(), 1u);
    ASSERT_EQ(desktop_.opened.size(), 2u);
    EXPECT_EQ(desktop_.opened[1], In("Music"));
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kAudioFolder), In("Music").c_str());
    Click(kSelectAudio);
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].initialFolder, In("Music"));

    // A chosen folder that cannot be opened either is asked for again, until Cancel.
    std::filesystem::remove(dir_ / "Video");
    desktop_.folderAnswers.push_back(In("Gone"));
    Click(kOpenVideoFolder);
    EXPECT_EQ(desktop_.folderPicks.size(), 3u);
    EXPECT_EQ(desktop_.opened.size(), 2u);
    EXPECT_STREQ(dialog_->FolderPath(CPlumetaDlg::kVideoFolder), In("Gone").c_str());

    // A folder that is there but that nothing on the desktop opens: one message, and no
    // browser, since another folder would fare no better.
    desktop_.launchesSucceed = false;
    desktop_.folderAnswers.push_back(In("Music"));
    Click(kOpenBackgroundFolder);
    EXPECT_EQ(desktop_.folderPicks.size(), 3u);
    EXPECT_EQ(desktop_.opened.size(), 3u);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text, "Cannot open the folder:\r\n\r\n  " + In("Background") +
                                          "\r\n\r\nNo File Manager or invalid folder");
    EXPECT_EQ(desktop_.boxes[0].caption, "Tavrino");
}

TEST_F(InputGroupsTest, ToolsGetTheFieldsFileMadeAbsoluteOrSayWhyNot)
{
    Click(kPlayAudio);
    SetField(kAudioPath, "   ");
    Click(kPlayAudio);
    EXPECT_TRUE(desktop_.opened.empty());
    EXPECT_TRUE(desktop_.boxes.empty());

    SetField(kAudioPath, "Audio\\Missing.wav");
    Click(kPlayAudio);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text, "Cannot play the file:\r\n\r\n  " + In("Audio/Missing.wav") +
                                          "\r\n\r\nNo Audio Player or invalid file");
    EXPECT_EQ(desktop_.boxes[0].caption, "Tavrino");
    EXPECT_TRUE(desktop_.opened.empty());

    // The desktop knows "open" only: "play" and "edit" fall back to it.
    ASSERT_TRUE(testmedia::WriteTextFile(In("Audio/Song.wav"), "RIFF"));
    ASSERT_TRUE(testmedia::WriteTextFile(In("Background/Garden.jpg"), "JPEG"));
    SetField(kAudioPath, "Audio\\Song.wav");
    SetField(kBackgroundPath, In("Background/Garden.jpg"));
    Click(kPlayAudio);
    Click(kEditBackground);
    ASSERT_EQ(desktop_.opened.size(), 2u);
    EXPECT_EQ(desktop_.opened[0], In("Audio/Song.wav"));
    EXPECT_EQ(desktop_.opened[1], In("Background/Garden.jpg"));
    EXPECT_EQ(Text(kAudioPath), "Audio\\Song.wav");

    desktop_.launchesSucceed = false;
    SetField(kOutputPath, In("Background/Garden.jpg"));
    Click(kPlayVideo);
    ASSERT_EQ(desktop_.boxes.size(), 2u);
    EXPECT_EQ(desktop_.boxes[1].text, "Cannot play the file:\r\n\r\n  " +
                                          In("Background/Garden.jpg") +
                                          "\r\n\r\nNo Video Player or invalid file");
}

TEST_F(InputGroupsTest, EditVideoTemplateStartsGresmontBesideTheProgramOnTheTemplate)
{
    SetField(kTemplatePath, "VideoTemplate\\Dancer.avi");
    Click(kEditTemplate);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text,
              "Cannot edit the file:\r\n\r\n  " + In("VideoTemplate/Dancer.avi") +
                  "\r\n\r\nNo Gresmont:\r\n\r\n  " + In("Gresmont") + "\r\n\r\n or invalid file");
    EXPECT_TRUE(desktop_.started.empty());

    ASSERT_TRUE(testmedia::WriteTextFile(In("Gresmont"), "#!/bin/sh\n"));
    std::filesystem::permissions(In("Gresmont"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    Click(kEditTemplate);
    SetField(kTemplatePath, "");
    Click(kEditTemplate);
    ASSERT_EQ(desktop_.started.size(), 2u);
    EXPECT_EQ(desktop_.started[0].program, In("Gresmont"));
    EXPECT_EQ(desktop_.started[0].argument, In("VideoTemplate/Dancer.avi"));
    EXPECT_EQ(desktop_.started[0].folder, dir_.string());
    // Without a template the editor still starts, on nothing.
    EXPECT_EQ(desktop_.started[1].argument, "");
    EXPECT_EQ(desktop_.started[1].folder, dir_.string());
    EXPECT_EQ(desktop_.boxes.size(), 1u);
}

TEST_F(InputGroupsTest, PicturesShowSqueezedUprightAndAtTheirOwnSizeInWindowsThatFollowTheField)
{
    WritePicture(In("Background/Wide.bmp"), 640, 480, 120);
    WritePicture(In("Background/Small.jpg"), 320, 200, 100);
    SetField(kBackgroundPath, "Background\\Wide.bmp");
    const QImage* preview = Preview(kViewBackground);
    ASSERT_NE(preview, nullptr);
    // A quarter of the picture's height is red, at the top.
    EXPECT_EQ(preview->pixelColor(preview->width() / 2, 2), QColor(255, 0, 0));
    EXPECT_EQ(preview->pixelColor(preview->width() / 2, preview->height() / 2), QColor(0, 0, 255));
    EXPECT_TRUE(desktop_.pictures.empty());

    Click(kViewBackground);
    SetField(kBackgroundPath, In("Background/Small.jpg"));
    SetField(kBackgroundPath, "");
    ASSERT_EQ(desktop_.pictures.size(), 4u);
    EXPECT_EQ(desktop_.pictures[0].action, PictureWindowAction::Open);
    EXPECT_EQ(desktop_.pictures[0].name, "Background");
    EXPECT_EQ(desktop_.pictures[1].action, PictureWindowAction::Show);
    EXPECT_EQ(desktop_.pictures[1].width, 640);
    EXPECT_EQ(desktop_.pictures[1].height, 480);
    EXPECT_EQ(desktop_.pictures[2].action, PictureWindowAction::Show);
    EXPECT_EQ(desktop_.pictures[2].width, 320);
    EXPECT_EQ(desktop_.pictures[2].height, 200);
    EXPECT_EQ(desktop_.pictures[3].action, PictureWindowAction::Destroy);
    EXPECT_EQ(desktop_.pictures[3].name, "Background");
    EXPECT_EQ(Preview(kViewBackground), nullptr);

    // A grey picture previews in grey; a file that is no picture previews nothing.
    cv::Mat grey(90, 60, CV_8UC1, cv::Scalar(77));
    ASSERT_TRUE(cv::imwrite(In("FaceImage/Grey.jpg"), grey));
    SetField(kFaceImagePath, In("FaceImage/Grey.jpg"));
    ASSERT_NE(Preview(kViewFaceImage), nullptr);
    const QColor shown = Preview(kViewFaceImage)->pixelColor(10, 10);
    EXPECT_NEAR(shown.red(), 77, 2);
    EXPECT_EQ(shown.red(), shown.green());
    EXPECT_EQ(shown.green(), shown.blue());
    Click(kViewFaceImage);
    EXPECT_EQ(desktop_.pictures.back().width, 60);
    ASSERT_TRUE(testmedia::WriteTextFile(In("FaceImage/Broken.bmp"), "BM not a picture"));
    SetField(kFaceImagePath, In("FaceImage/Broken.bmp"));
    EXPECT_EQ(Preview(kViewFaceImage), nullptr);
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Destroy);
    EXPECT_EQ(desktop_.pictures.back().name, "FaceImage");
}

TEST_F(InputGroupsTest, ATemplateIsReadAsSoonAsItIsNamedAndPreviewedUpright)
{
    const auto write = [&](const char* name, int frames) {
        std::vector<testmedia::TestPicture> pictures(
            static_cast<std::size_t>(frames),
            testmedia::SplitPicture(40, 30, 10, 0xFF0000u, 0x0000FFu));
        ASSERT_TRUE(
            testmedia::WriteDibAvi(In(name), pictures, 5, testmedia::DibLayout::Rgb24BottomUp));
    };
    write("VideoTemplate/One.avi", 1);
    write("VideoTemplate/Two.avi", 2);
    SetField(kOutputPath, In("Video/Out.avi"));

    SetField(kTemplatePath, "VideoTemplate\\One.avi");
    ASSERT_TRUE(WaitForStatus("1 frame"));
    SetField(kTemplatePath, In("VideoTemplate/Two.avi"));
    // Until the new template is read, its predecessor's frame is gone.
    EXPECT_EQ(Preview(kTemplatePreview), nullptr);
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
    ASSERT_TRUE(WaitForStatus("2 frames"));
    const QImage* preview = Preview(kTemplatePreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->pixelColor(preview->width() / 2, 2), QColor(255, 0, 0));
    EXPECT_EQ(preview->pixelColor(preview->width() / 2, preview->height() - 3), QColor(0, 0, 255));
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));

    // A template of sound only has no frame to make a video of.
    ASSERT_TRUE(
        testmedia::MakeTestAudio(In("VideoTemplate/Sound.avi"), "pcm_s16le", 0.5, 22050, 1));
    SetField(kTemplatePath, In("VideoTemplate/Sound.avi"));
    ASSERT_TRUE(WaitForStatus("0 frame"));
    EXPECT_EQ(Preview(kTemplatePreview), nullptr);
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));

    SetField(kTemplatePath, In("VideoTemplate/Missing.avi"));
    EXPECT_EQ(Text(kStatusLine), "");
    EXPECT_EQ(Preview(kTemplatePreview), nullptr);
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
}

TEST_F(InputGroupsTest, TheCountOfAReplacedTemplateNeverEndsTheReadOfTheNewOne)
{
    // The first template is longer than a read counts: its reader posts its message for
    // every frame past the limit, and none of these is delivered before the second
    // template is named.
    ASSERT_TRUE(testmedia::MakeTestVideo(In("VideoTemplate/First.avi"), "rawvideo", 16, 16, 25, 160,
                                         false));
    ASSERT_TRUE(testmedia::MakeTestVideo(In("VideoTemplate/Second.avi"), "mjpeg", 320, 240, 25, 200,
                                         false));
    const std::set<pid_t> before = testmedia::ThreadsOfThisProcess();
    SetField(kTemplatePath, In("VideoTemplate/First.avi"));
    // The dialog is busy while the first read runs to the template's end, where the thread
    // that posts its messages ends.
    ASSERT_TRUE(testmedia::WaitUntil(
        [&] { return std::ranges::includes(before, testmedia::ThreadsOfThisProcess()); }));
    SetField(kTemplatePath, In("VideoTemplate/Second.avi"));
    ASSERT_TRUE(testmedia::PumpUntil([&] { return !Text(kStatusLine).empty(); }));
    EXPECT_EQ(Text(kStatusLine), "127 frames");
}
