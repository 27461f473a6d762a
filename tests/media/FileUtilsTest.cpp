#include "media/FileUtils.h"

#include "platform/win/Files.h"

#include "support/Fifo.h"
#include "support/ProgramFolder.h"
#include "support/TmpfsMount.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class ProgramFolder : public testmedia::ProgramFolderTest {
protected:
    std::string Make(const std::string& name) const { return folder_.Write(name, "data"); }
};

}  // namespace

TEST_F(ProgramFolder, FileExistsAsGivenOrAsABareNameBesideTheProgram)
{
    const std::string path = Make("only-here.bmp");
    EXPECT_TRUE(FileExists(path.c_str()));
    ASSERT_FALSE(fs::exists("only-here.bmp"));
    EXPECT_TRUE(FileExists("only-here.bmp"));
    EXPECT_FALSE(FileExists("missing.bmp"));
    EXPECT_FALSE(FileExists(nullptr));
}

TEST_F(ProgramFolder, FoldersFifosAndDevicesAreNoFiles)
{
    fs::create_directory(dir_ / "Video");
    EXPECT_FALSE(FileExists(dir_.c_str()));
    EXPECT_FALSE(FileExists("Video"));
    EXPECT_FALSE(FileExists("/dev/zero"));
    const std::string fifo = (dir_ / "Dancer.avi").string();
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(fifo, [&] {
        EXPECT_FALSE(FileExists(fifo.c_str()));
        EXPECT_FALSE(FileExists("Dancer.avi"));  // beside the program
        EXPECT_FALSE(IsWritableFilePath(fifo.c_str()));
    }));
}

TEST_F(ProgramFolder, WritablePathNeedsAnExistingFolderAndNoFolderAtThePath)
{
    EXPECT_FALSE(IsWritableFilePath(dir_.c_str()));
    EXPECT_FALSE(IsWritableFilePath((dir_ / "missing" / "out.avi").c_str()));
    EXPECT_TRUE(IsWritableFilePath((dir_ / "new.avi").c_str()));
    EXPECT_TRUE(IsWritableFilePath(("  " + (dir_ / "new.avi").string()).c_str()));
    EXPECT_TRUE(IsWritableFilePath((dir_.string() + "\\new.avi").c_str()));
    EXPECT_TRUE(IsWritableFilePath(Make("old.avi").c_str()));
    EXPECT_FALSE(fs::exists(dir_ / "new.avi"));
    EXPECT_FALSE(IsWritableFilePath("   "));
    EXPECT_FALSE(IsWritableFilePath(nullptr));
}

TEST_F(ProgramFolder, NothingOnAReadOnlyFileSystemIsAWritablePath)
{
    const fs::path locked = dir_ / "Locked";
    fs::create_directory(locked);
    testmedia::TmpfsMount mount(locked.string());
    if (!mount.mounted())
        GTEST_SKIP() << mount.failure();
    fs::create_directory(locked / "Video");
    const std::string old = folder_.Write("Locked/Video/old.avi", "data");
    EXPECT_TRUE(IsWritableFilePath((locked / "Video" / "new.avi").c_str()));
    ASSERT_TRUE(mount.MakeReadOnly());
    // The administrator, whom no permission stops, cannot write there either.
    EXPECT_FALSE(IsWritableFilePath((locked / "Video" / "new.avi").c_str()));
    EXPECT_FALSE(IsWritableFilePath((locked.string() + "\\Video\\new.avi").c_str()));
    EXPECT_FALSE(IsWritableFilePath((locked / "new.avi").c_str()));
    EXPECT_FALSE(IsWritableFilePath(old.c_str()));
    EXPECT_FALSE(CanCreateFileIn(locked.c_str()));
    EXPECT_TRUE(CanCreateFileIn(dir_.c_str()));
    EXPECT_FALSE(CanCreateFileIn(old.c_str()));
    EXPECT_TRUE(IsWritableFilePath((dir_ / "new.avi").c_str()));
}

TEST_F(ProgramFolder, AFileRightUnderTheRootHasTheRootAsItsFolder)
{
    EXPECT_FALSE(IsWritableFilePath("/"));
    EXPECT_TRUE(IsWritableFilePath("/no-such-file-under-the-root.avi"));
}

TEST_F(ProgramFolder, AFileHeldByAWriterThatRefusesWritersIsNotWritable)
{
    const std::string path = Make("held.avi");
    {
        const UniqueFileHandle holder(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
        ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(IsWritableFilePath(path.c_str()));
    }
    EXPECT_TRUE(IsWritableFilePath(path.c_str()));
    UniqueFile sharing(OpenFile(path.c_str(), "ab"));
    EXPECT_TRUE(IsWritableFilePath(path.c_str()));
}
