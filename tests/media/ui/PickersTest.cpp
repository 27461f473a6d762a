#include "media/ui/Pickers.h"

#include "support/DesktopRecorder.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class PickersTest : public testmedia::ProgramFolderTest {
protected:
    PickersTest() : ProgramFolderTest("Tavrino") {}
    testmedia::DesktopRecorder desktop_;
};

constexpr char kAudioFilter[] =
    "Audio File (*mid; *.mp3; *.wav; *.wma)\0*.mid;*.mp3;*.wav;*.wma;\0";

}  // namespace

TEST_F(PickersTest, FilePickerStartsInTheProgramsFolderWithoutOneAndHidesReadOnly)
{
    desktop_.fileAnswers = {std::string("/music/song.mp3")};
    char file[520] = {};
    ASSERT_TRUE(ChooseFile(nullptr, "Open", nullptr, kAudioFilter, nullptr, file, sizeof file, 0));
    EXPECT_STREQ(file, "/music/song.mp3");
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].initialFolder, dir_.string());
    EXPECT_EQ(desktop_.filePicks[0].title, "Open");
    EXPECT_FALSE(desktop_.filePicks[0].mustExist);
    ASSERT_EQ(desktop_.filePicks[0].filters.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].filters[0].patterns.size(), 4u);
}

TEST_F(PickersTest, ProjectsOpenOnlyWhenTheyExistAndSaveAsTakesANewNameWithItsExtension)
{
    desktop_.fileAnswers = {std::string("/p/mine"), std::nullopt};
    char project[520] = "/p/RecentProject.tmp";
    ASSERT_TRUE(ChooseFile(nullptr, "Save As", "/p", "Audio Video Project (*.avp)\0*.avp;\0", "avp",
                           project, sizeof project, OFN_HIDEREADONLY));
    EXPECT_STREQ(project, "/p/mine.avp");
    EXPECT_EQ(desktop_.filePicks[0].initialName, "/p/RecentProject.tmp");
    EXPECT_FALSE(ChooseFile(nullptr, "Open", "/p", nullptr, "avp", project, sizeof project,
                            OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_TRUE(desktop_.filePicks[1].mustExist);
    EXPECT_STREQ(project, "/p/mine.avp");
}

TEST_F(PickersTest, APickedPathLongerThanTheBufferIsRefused)
{
    desktop_.fileAnswers = {"/" + std::string(600, 'x')};
    char file[520] = "/kept.avi";
    EXPECT_FALSE(ChooseFile(nullptr, "Open", nullptr, nullptr, nullptr, file, sizeof file, 0));
    EXPECT_STREQ(file, "/kept.avi");
}

TEST_F(PickersTest, FolderBrowserOpensOnTheBuffersFolderAndWritesTheChoiceBack)
{
    desktop_.folderAnswers = {std::string("/data/Audio"), std::nullopt};
    char folder[520] = "/missing/Audio";
    ASSERT_TRUE(ChooseFolder(nullptr, folder));
    EXPECT_STREQ(folder, "/data/Audio");
    ASSERT_EQ(desktop_.folderPicks.size(), 1u);
    EXPECT_EQ(desktop_.folderPicks[0].startFolder, "/missing/Audio");
    EXPECT_FALSE(ChooseFolder(nullptr, folder));  // Cancel
    EXPECT_STREQ(folder, "/data/Audio");
    EXPECT_EQ(desktop_.folderPicks[1].startFolder, "/data/Audio");
}
