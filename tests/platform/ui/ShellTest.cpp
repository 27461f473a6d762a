#include "platform/ui/Shell.h"

#include "platform/ui/DesktopLaunch.h"

#include "support/DesktopRecorder.h"
#include "support/ProgramFolder.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class ShellTest : public testmedia::ProgramFolderTest {
protected:
    ShellTest() : ProgramFolderTest("Tavrino") {}
    testmedia::DesktopRecorder desktop_;
};

}  // namespace

TEST_F(ShellTest, OpenHandsExistingFilesFoldersAndAddressesToTheSessionsOpener)
{
    const std::string file = (dir_ / "a b.avi").string();
    std::ofstream(file) << "x";
    EXPECT_GT(ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, 5), 32);
    EXPECT_GT(ShellExecuteA(nullptr, nullptr, dir_.string().c_str(), nullptr, nullptr, 5), 32);
    const std::string backslashed = dir_.string() + "\\a b.avi";
    EXPECT_GT(ShellExecuteA(nullptr, "OPEN", backslashed.c_str(), "", nullptr, 5), 32);
    EXPECT_GT(ShellExecuteA(nullptr, "open", "https://example.org/", "", nullptr, 5), 32);
    ASSERT_EQ(desktop_.opened.size(), 4u);
    EXPECT_EQ(desktop_.opened[0], file);
    EXPECT_EQ(desktop_.opened[1], dir_.string());
    EXPECT_EQ(desktop_.opened[2], file);
    EXPECT_EQ(desktop_.opened[3], "https://example.org/");
    desktop_.launchesSucceed = false;
    EXPECT_EQ(ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, 5), SE_ERR_NOASSOC);
}

TEST_F(ShellTest, MissingFilesAnswerNotFoundBeforeTheOpenerIsAsked)
{
    const std::string missing = (dir_ / "missing.avi").string();
    EXPECT_EQ(ShellExecuteA(nullptr, "open", missing.c_str(), nullptr, nullptr, 5), SE_ERR_FNF);
    const std::string inMissingFolder = (dir_ / "gone" / "x.avi").string();
    EXPECT_EQ(ShellExecuteA(nullptr, "open", inMissingFolder.c_str(), nullptr, nullptr, 5),
              SE_ERR_PNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "", nullptr, nullptr, 5), SE_ERR_FNF);
    EXPECT_TRUE(desktop_.opened.empty());
}

TEST_F(ShellTest, EditAndPlayHaveNoAssociationSoCallersFallBackToOpen)
{
    const std::string file = (dir_ / "Face.bmp").string();
    std::ofstream(file) << "x";
    EXPECT_EQ(ShellExecuteA(nullptr, "edit", file.c_str(), nullptr, nullptr, 5), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "play", file.c_str(), nullptr, nullptr, 5), SE_ERR_NOASSOC);
    EXPECT_TRUE(desktop_.opened.empty());
}

TEST_F(ShellTest, AProgramHandedParametersStartsWithThemAsItsOneArgument)
{
    const std::filesystem::path program = dir_ / "Gresmont";
    std::ofstream(program) << "#!/bin/sh\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string backslashed = dir_.string() + "\\Gresmont";
    const std::string work = dir_.string();
    EXPECT_GT(ShellExecuteA(nullptr, "open", backslashed.c_str(), "C:\\T\\my template.avi",
                            work.c_str(), 5),
              32);
    EXPECT_GT(ShellExecuteA(nullptr, "edit", program.c_str(), "", nullptr, 5), 32);
    ASSERT_EQ(desktop_.started.size(), 2u);
    EXPECT_EQ(desktop_.started[0].program, program.string());
    EXPECT_EQ(desktop_.started[0].argument, "C:\\T\\my template.avi");
    EXPECT_EQ(desktop_.started[0].folder, work);
    EXPECT_EQ(desktop_.started[1].argument, "");
    EXPECT_EQ(desktop_.started[1].folder, work);  // the caller's folder
    // Without parameters a program is a document like any other, and so is a file that
    // is no program; a missing one is missing.
    EXPECT_GT(ShellExecuteA(nullptr, "open", program.c_str(), nullptr, nullptr, 5), 32);
    const std::string text = (dir_ / "notes.txt").string();
    std::ofstream(text) << "x";
    EXPECT_GT(ShellExecuteA(nullptr, "open", text.c_str(), "", nullptr, 5), 32);
    const std::string other = dir_.string() + "/Other";
    EXPECT_EQ(ShellExecuteA(nullptr, "open", other.c_str(), "", nullptr, 5), SE_ERR_FNF);
    EXPECT_EQ(desktop_.started.size(), 2u);
    EXPECT_EQ(desktop_.opened, (std::vector<std::string>{program.string(), text}));
}

TEST_F(ShellTest, ADetachedProgramGetsItsArgumentAndFolderByteForByte)
{
    // A template named in Latin-1, in a folder so named: both go over as their bytes.
    const std::filesystem::path folder = dir_ / "d\xE9j\xE0";
    std::filesystem::create_directory(folder);
    const std::filesystem::path program = dir_ / "Gresmont";
    std::ofstream(program) << "#!/bin/sh\nprintf '%s' \"$1\" > told.tmp && mv told.tmp told\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string argument = folder.string() + "/caf\xE9.avi";
    EXPECT_TRUE(StartDetachedProgram({program.string(), argument, folder.string()}));
    const std::filesystem::path told = folder / "told";
    ASSERT_TRUE(testmedia::WaitUntil([&] { return std::filesystem::exists(told); }));
    std::ifstream in(told, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), argument);

    EXPECT_FALSE(StartDetachedProgram({(dir_ / "missing").string(), "", dir_.string()}));
    EXPECT_FALSE(StartDetachedProgram({program.string(), "", (dir_ / "gone").string()}));
}
