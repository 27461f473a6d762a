// The program folder the desktop tests start the programs in, against a built folder that a
// person has used: no X server needed.

#include "support/ProgramFolder.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// Every file below folder, by its path under it.
std::set<std::string> FilesBelow(const fs::path& folder)
{
    std::set<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files.insert(fs::relative(entry.path(), folder).generic_string());
    }
    return files;
}

// A built folder as the build made it (each shipped file holding its own path), then used:
// a recent project of each program, a video made, a project saved under a name of its own.
class DesktopProgramFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(built_.root().empty());
        ASSERT_FALSE(placed_.root().empty());
        for (const std::string& folder : testmedia::kShippedFolders)
            fs::create_directories(fs::path(built_.root()) / folder);
        shipped_.insert(std::string(testmedia::kShippedSampleProject));
        shipped_.insert(kSampleFiles.begin(), kSampleFiles.end());
        for (const std::string& file : shipped_)
            built_.Write(file, file);
        for (const char* left : {"VideoProject/RecentProject.tmp", "VideoProject/Mine.avp",
                                 "Video/Sample.avi", "VideoTemplateProject/RecentProject.tmp"})
            built_.Write(left, "left by a person");
    }

    testmedia::TempFolder built_;
    testmedia::TempFolder placed_;
    std::set<std::string> shipped_;
};

}  // namespace

TEST_F(DesktopProgramFolder, HoldsWhatTheBuildPlacedAndNothingAPersonLeftWhoseFilesStay)
{
    const std::set<std::string> before = FilesBelow(built_.root());
    ASSERT_TRUE(
        testmedia::PlaceShippedFolders(testmedia::kShippedFolders, placed_.root(), built_.root()));

    EXPECT_EQ(FilesBelow(placed_.root()), shipped_);
    for (const std::string& folder : testmedia::kShippedFolders)
        EXPECT_TRUE(fs::is_directory(fs::path(placed_.root()) / folder)) << folder;
    EXPECT_EQ(testmedia::ReadWholeFile(placed_.path("VideoTemplate/Dancer.avi")),
              "VideoTemplate/Dancer.avi");
    // The copies are no links: a program that writes its folder leaves the built one alone.
    EXPECT_EQ(fs::hard_link_count(placed_.path("VideoProject/DefaultProject.avp")), 1u);
    EXPECT_EQ(FilesBelow(built_.root()), before);
    EXPECT_EQ(testmedia::ReadWholeFile(built_.path("VideoProject/RecentProject.tmp")),
              "left by a person");
}

TEST_F(DesktopProgramFolder, OneFolderHoldsOnlyItsOwnAndAMissingShippedFileFails)
{
    ASSERT_TRUE(testmedia::PlaceShippedFolders({"VideoTemplate"}, placed_.root(), built_.root()));
    EXPECT_EQ(FilesBelow(placed_.root()), std::set<std::string>{"VideoTemplate/Dancer.avi"});

    fs::remove(built_.path("Audio/Melody.mid"));
    testmedia::TempFolder other;
    EXPECT_FALSE(testmedia::PlaceShippedFolders({"Audio"}, other.root(), built_.root()));
}
