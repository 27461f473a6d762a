#include "MainDialogTest.h"

#include "platform/win/Profile.h"
#include "support/Fifo.h"
#include "support/TestMedia.h"

#include <filesystem>

using namespace gresmont;

namespace {

using editortest::WaitFor;

using EditorProject = editortest::MainDialogTest;

}  // namespace

TEST_F(EditorProject, AllTwelveValuesGoIntoThreeSectionsAndComeBack)
{
    Open();
    SetField(0, kAviField, "/v/in.avi");
    SetField(0, kFolderField, "/v/out");
    SetField(0, kFirstField, "a00005.bmp");
    Page(0).SelectComboText("7", kStepList);
    PickTab(1);
    SetField(1, kAviField, "/v/made.avi");
    SetField(1, kFolderField, "/v/run");
    SetField(1, kFirstField, "b00001.bmp");
    SetField(1, kLastField, "b00009.bmp");
    Page(1).SelectComboText("4", kStepList);
    Page(1).SelectComboText("3.25", kRateList);
    ASSERT_TRUE(Page(1).SelectComboText("mjpeg", kCompressorList));
    const std::string path = ProjectFile("mine.avp");
    dialog_->SaveProject(path.c_str());

    const std::string saved = testmedia::ReadWholeFile(path);
    std::size_t at = 0;
    for (const char* line :
         {"[Tab]", "Tab=1", "[AVI to Files]", "AVIFile=/v/in.avi", "Folder=/v/out",
          "FirstFile=a00005.bmp", "FileStep=7", "[Files to AVI]", "AVIFile=/v/made.avi",
          "Folder=/v/run", "FirstFile=b00001.bmp", "LastFile=b00009.bmp", "FileStep=4",
          "FrameRate=3.25 frame/sec", "VideoCompression=MJPEG Compressor"}) {
        at = saved.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " in\n" << saved;
    }

    Close();
    std::filesystem::remove(ProjectFile("RecentProject.tmp"));
    Open();
    EXPECT_EQ(Field(0, kFirstField), "00000.bmp");
    dialog_->LoadProject(path.c_str(), nullptr);
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Field(0, kAviField), "/v/in.avi");
    EXPECT_EQ(Field(0, kFolderField), "/v/out");
    EXPECT_EQ(Field(0, kFirstField), "a00005.bmp");
    EXPECT_EQ(Field(0, kStepList), "7");
    EXPECT_EQ(Field(1, kAviField), "/v/made.avi");
    EXPECT_EQ(Field(1, kFolderField), "/v/run");
    EXPECT_EQ(Field(1, kFirstField), "b00001.bmp");
    EXPECT_EQ(Field(1, kLastField), "b00009.bmp");
    EXPECT_EQ(Field(1, kStepList), "4");
    EXPECT_EQ(Field(1, kRateList), "3.25 frame/sec");
    EXPECT_EQ(Field(1, kCompressorList), "MJPEG Compressor");
}

TEST_F(EditorProject, StoredPathsResolveAgainstTheProgramsFolderAndListsChooseByText)
{
    WriteProject("RecentProject.tmp", "[Tab]\nTab=1\n[AVI to Files]\nAVIFile=..\\clips\\a.avi\n"
                                      "Folder=images\n[Files to AVI]\nFileStep=1\n"
                                      "FrameRate=9.99 frame/sec\nVideoCompression=mjpeg\n");
    Open();
    EXPECT_EQ(Field(0, kAviField), dir_.parent_path().string() + "/clips/a.avi");
    EXPECT_EQ(Field(0, kFolderField), At("images"));
    EXPECT_EQ(Field(1, kStepList), "1");
    EXPECT_EQ(Field(1, kRateList), "2.00 frame/sec");  // no such item: the choice stays
    EXPECT_EQ(Field(1, kCompressorList), "MJPEG Compressor");
}

TEST_F(EditorProject, ACommandLineForcesTheFirstTabAndBecomesTheInputQuotesKept)
{
    WriteProject("RecentProject.tmp", "[Tab]\nTab=1\n[AVI to Files]\nAVIFile=/a.avi\nFolder=/f\n");
    // A quoted text begins with no separator: it is resolved like any relative one.
    const std::string quoted = At("\"x/a b.avi\"");
    {
        CWinApp app("Gresmont");
        app.m_lpCmdLine = "  \"x\\a b.avi\"";
        Open();
        EXPECT_EQ(Tab(), 0);
        EXPECT_EQ(Field(0, kAviField), quoted);
        EXPECT_EQ(Field(0, kFolderField), "/f");
        Close();
    }
    Open();
    EXPECT_EQ(Tab(), 0);
    EXPECT_EQ(Field(0, kAviField), quoted);
}

TEST_F(EditorProject, ATabOutsideTheTwoPagesShowsNoneUntilOneIsPicked)
{
    for (const char* tab : {"5", "-1", "x"}) {
        WriteProject("RecentProject.tmp", std::string("[Tab]\nTab=") + tab + "\n");
        Open();
        const bool none = std::string(tab) != "x";  // no number reads as 0
        EXPECT_EQ(Tab(), none ? -1 : 0) << tab;
        EXPECT_EQ(Page(0).IsWindowVisible() != FALSE, !none) << tab;
        EXPECT_FALSE(Page(1).IsWindowVisible()) << tab;
        EXPECT_FALSE(Enabled(kStartButton));
        PickTab(1);
        EXPECT_TRUE(Page(1).IsWindowVisible());
        Close();
    }
}

TEST_F(EditorProject, ARecentProjectThatIsNoProjectFileIsPassedOverAtStartAndExit)
{
    WriteProject("DefaultProject.avp", "[AVI to Files]\nFolder=/default\n");
    const std::string recent = ProjectFile("RecentProject.tmp");
    ASSERT_TRUE(testmedia::MakeFifo(recent));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(recent, [&] {
        Open();
        EXPECT_EQ(Field(0, kFolderField), "/default");
        Close();
    }));
    std::filesystem::remove(recent);
    std::filesystem::create_symlink("/dev/zero", recent);
    Open();
    EXPECT_EQ(Field(0, kFolderField), "/default");
    Close();
    EXPECT_TRUE(std::filesystem::is_symlink(recent));
}

TEST_F(EditorProject, SaveWritesTheProjectStartedFromOrAsksWhereWhenItIsGone)
{
    WriteProject("DefaultProject.avp", "[AVI to Files]\nFirstFile=d00001.bmp\n");
    Open();
    EXPECT_EQ(Field(0, kFirstField), "d00001.bmp");
    SetField(0, kFirstField, "d00002.bmp");
    Command(kSaveProjectCommand);
    EXPECT_TRUE(desktop_.filePicks.empty());
    EXPECT_NE(
        testmedia::ReadWholeFile(ProjectFile("DefaultProject.avp")).find("FirstFile=d00002.bmp"),
        std::string::npos);

    std::filesystem::remove(ProjectFile("DefaultProject.avp"));
    desktop_.fileAnswers = {ProjectFile("new")};
    Command(kSaveProjectCommand);
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].title, "Save As");
    EXPECT_EQ(desktop_.filePicks[0].initialFolder, At("VideoTemplateProject"));
    EXPECT_EQ(desktop_.filePicks[0].initialName, ProjectFile("DefaultProject.avp"));
    EXPECT_EQ(desktop_.filePicks[0].defaultExtension, "avp");
    EXPECT_FALSE(desktop_.filePicks[0].mustExist);
    ASSERT_EQ(desktop_.filePicks[0].filters.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].filters[0].description, "AVI Project (*.avp)");
    EXPECT_TRUE(std::filesystem::exists(ProjectFile("new.avp")));

    // The project saved as is the current one now.
    SetField(0, kFirstField, "d00003.bmp");
    Command(kSaveProjectCommand);
    EXPECT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_NE(testmedia::ReadWholeFile(ProjectFile("new.avp")).find("FirstFile=d00003.bmp"),
              std::string::npos);
    // The exit save goes to the recent project and leaves the current one alone.
    Close();
    EXPECT_NE(testmedia::ReadWholeFile(ProjectFile("RecentProject.tmp")).find("d00003.bmp"),
              std::string::npos);
}

TEST_F(EditorProject, OpenLoadsTheChosenProjectAndACancelKeepsEverything)
{
    WriteProject("other.avp", "[Tab]\nTab=1\n[Files to AVI]\nFirstFile=o00001.bmp\n");
    desktop_.fileAnswers = {ProjectFile("other.avp"), std::nullopt};
    Open();
    Command(kOpenProjectCommand);
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].title, "Open");
    EXPECT_TRUE(desktop_.filePicks[0].mustExist);
    EXPECT_EQ(desktop_.filePicks[0].initialFolder, At("VideoTemplateProject"));
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Field(1, kFirstField), "o00001.bmp");

    SetField(1, kFirstField, "p00001.bmp");
    Command(kOpenProjectCommand);
    EXPECT_EQ(desktop_.filePicks[1].initialName, ProjectFile("other.avp"));
    EXPECT_EQ(Field(1, kFirstField), "p00001.bmp");
    Command(kSaveProjectCommand);
    EXPECT_EQ(desktop_.filePicks.size(), 2u);
    EXPECT_NE(testmedia::ReadWholeFile(ProjectFile("other.avp")).find("FirstFile=p00001.bmp"),
              std::string::npos);
}

TEST_F(EditorProject, PathsThatAreNoUtf8AreSavedAndLoadedByteForByte)
{
    // Names of an old disk, written in Latin-1: the e-acute is the one byte E9.
    const std::string input = "/old/caf\xE9.avi";
    const std::string folder = "/old/images d\xE9j\xE0";
    Open();
    SetField(0, kAviField, input);
    SetField(0, kFolderField, folder);
    const std::string path = ProjectFile("old.avp");
    dialog_->SaveProject(path.c_str());
    const std::string saved = testmedia::ReadWholeFile(path);
    EXPECT_NE(saved.find("AVIFile=" + input + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Folder=" + folder + "\r\n"), std::string::npos) << saved;
    SetField(0, kAviField, "");
    dialog_->LoadProject(path.c_str(), nullptr);
    EXPECT_EQ(Field(0, kAviField), input);
    EXPECT_EQ(Field(0, kFolderField), folder);
}

TEST_F(EditorProject, APathTooLongForAFieldIsNeitherLoadedNorSavedCut)
{
    const std::string tooLong = "/v/" + std::string(600, 'n') + ".avi";
    WriteProject("long.avp", "[Files to AVI]\nAVIFile=" + tooLong + "\n");
    Open();
    const std::string path = ProjectFile("long.avp");
    dialog_->LoadProject(path.c_str(), nullptr);
    EXPECT_EQ(Field(1, kAviField), "");
    SetField(1, kAviField, tooLong);
    dialog_->SaveProject(path.c_str());
    char value[1024];
    GetPrivateProfileStringA("Files to AVI", "AVIFile", "none", value, sizeof value, path.c_str());
    EXPECT_STREQ(value, "");
}
