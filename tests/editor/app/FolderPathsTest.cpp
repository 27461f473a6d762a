#include "editor/app/FolderPaths.h"
#include "media/FileUtils.h"

#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using FolderPathsTest = testmedia::ProgramFolderTest;

}  // namespace

TEST_F(FolderPathsTest, MissingFoldersAreMadeWithTheirParentsAtEitherSeparator)
{
    const std::string mixed = dir_.string() + "\\a/b\\c";
    EXPECT_FALSE(FolderExists(mixed.c_str()));
    EXPECT_EQ(CreateFolderPath(("  " + mixed).c_str(), 7), 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "a" / "b" / "c"));
    EXPECT_TRUE(FolderExists(("\t" + mixed).c_str()));
    // An existing folder answers the caller's value and is left alone.
    EXPECT_EQ(CreateFolderPath(mixed.c_str(), 7), 7);
    EXPECT_EQ(CreateFolderPath((dir_.string() + "/d/").c_str(), 7), 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "d"));
}

TEST_F(FolderPathsTest, BlankPathsAndFilesAreNoFolders)
{
    EXPECT_EQ(CreateFolderPath("   ", 1), 0);
    EXPECT_EQ(CreateFolderPath(nullptr, 1), 0);
    EXPECT_FALSE(FolderExists(""));
    const std::string file = folder_.Write("file.txt", "x");
    EXPECT_FALSE(FolderExists(file.c_str()));
    EXPECT_EQ(CreateFolderPath((file + "/below").c_str(), 1), 0);
}

TEST_F(FolderPathsTest, FieldFoldersLoseBlanksAndTrailingSeparators)
{
    EXPECT_EQ(TrimFolder("  D:\\out\\/\\  "), "D:\\out");
    EXPECT_EQ(TrimFolder("/"), "/");
    EXPECT_EQ(TrimFolder(nullptr), "");
    EXPECT_EQ(JoinedPath("/data", "x.bmp"), "/data/x.bmp");
    EXPECT_EQ(JoinedPath("D:\\data", "x.bmp"), "D:/data/x.bmp");
    EXPECT_EQ(JoinedPath("/data", std::string(600, 'x')), "");
    EXPECT_EQ(ProgramSubfolder("VideoTemplate"), (dir_ / "VideoTemplate").string());
}
