#include "editor/engine/EditorHarness.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WindowServices.h"
#include "platform/win/DesktopHooks.h"
#include "support/ProgramFolder.h"
#include "support/TestMedia.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A whole program's start or end, on a machine that may be busy with other work.
constexpr std::uint32_t kProgramPatienceMs = 60000;

// The real Gresmont, built beside this test program, in a folder of its own: its data
// folders and projects then lie there, as they lie beside an installed program.
class GresmontProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder_.root().empty());
        ASSERT_EQ(testmedia::PlaceBuiltProgram("Gresmont", dir_), program_);
    }
    void TearDown() override
    {
        ResetDesktopHooks();
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }
    // The program as a child of this test, in its folder with its one argument.
    static pid_t Spawn(const ProgramStart& start)
    {
        const pid_t child = fork();
        if (child == 0) {
            if (chdir(start.folder.c_str()) != 0)
                _exit(126);
            execl(start.program.c_str(), start.program.c_str(), start.argument.c_str(), nullptr);
            _exit(127);
        }
        return child;
    }
    // The child's exit status, or -1 when it has not ended within the patience.
    int AwaitExit()
    {
        int status = 0;
        if (!testmedia::WaitUntil([&] { return waitpid(child_, &status, WNOHANG) == child_; },
                                  kProgramPatienceMs))
            return -1;
        child_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    testmedia::TempFolder folder_;
    const fs::path dir_ = folder_.root();
    const fs::path program_ = dir_ / "Gresmont";
    pid_t child_ = -1;
};

}  // namespace

TEST_F(GresmontProgram, StartedThroughTheShellWithATemplateItOpensItOnTheFirstPage)
{
    const std::string input = (dir_ / "template.avi").string();
    ASSERT_TRUE(testmedia::WriteDibAvi(input, editortest::ColourFrames(10, 32, 24), 10,
                                       testmedia::DibLayout::Rgb24BottomUp));
    folder_.Write("VideoTemplateProject/RecentProject.tmp",
                  "[Tab]\nTab=1\n[AVI to Files]\nAVIFile=/else/where.avi\nFileStep=3\n");

    // As the creator hands the template over: "Gresmont" in the program's folder, the
    // template path unquoted as the whole parameter, that folder to work in.
    std::vector<ProgramStart> starts;
    DesktopHooks hooks;
    hooks.startProgram = [&](const ProgramStart& start) {
        starts.push_back(start);
        child_ = Spawn(start);
        return child_ > 0;
    };
    InstallDesktopHooks(hooks);
    EXPECT_GT(
        ShellExecuteA(nullptr, "open", program_.c_str(), input.c_str(), dir_.c_str(), SW_SHOW), 32);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, program_.string());
    EXPECT_EQ(starts[0].argument, input);
    EXPECT_EQ(starts[0].folder, dir_.string());
    ASSERT_GT(child_, 0);

    // The files page's output folder is made as the last page takes its defaults, once
    // the project is loaded; the desktop session ending then closes the window.
    ASSERT_TRUE(testmedia::WaitUntil([&] { return fs::exists(dir_ / "VideoTemplate"); },
                                     kProgramPatienceMs));
    kill(child_, SIGTERM);
    EXPECT_EQ(AwaitExit(), 0);
    const std::string saved =
        testmedia::ReadWholeFile((dir_ / "VideoTemplateProject" / "RecentProject.tmp").string());
    EXPECT_NE(saved.find("Tab=0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("AVIFile=" + input + "\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("FileStep=3"), std::string::npos) << saved;
    EXPECT_TRUE(fs::is_directory(dir_ / "VideoTemplateImages"));
}
