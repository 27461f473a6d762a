#include "MainDialogTest.h"

#include "support/MessagePump.h"
#include "support/TaskState.h"
#include "support/TestMedia.h"
#include "support/WidgetOf.h"

#include <QTest>

#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

using namespace tavrino_test;

namespace {

namespace fs = std::filesystem;

// The real Gresmont beside the program, started by "Edit Video Template" through the
// desktop's own launcher.
class EditTemplateProgram : public MainDialogTest {
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        ASSERT_EQ(testmedia::PlaceBuiltProgram("Gresmont", dir_), editor_);
        // Every answer stays recorded but the start of a program, which is real.
        DesktopHooks hooks = CurrentDesktopHooks();
        hooks.startProgram = nullptr;
        InstallDesktopHooks(hooks);
    }
    void TearDown() override
    {
        if (editorProcess_)
            kill(*editorProcess_, SIGKILL);
        MainDialogTest::TearDown();
    }

    // The running process of the editor in the program's folder.
    std::optional<pid_t> FindEditor() const
    {
        for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            std::error_code error;
            if (fs::read_symlink(entry.path() / "exe", error) == editor_ && !error &&
                !IsZombie(entry.path()))
                return static_cast<pid_t>(std::stol(name));
        }
        return std::nullopt;
    }
    static bool IsZombie(const fs::path& process)
    {
        const char state = testmedia::TaskState((process / "stat").string());
        return state == '\0' || state == 'Z';
    }
    static std::vector<std::string> Arguments(pid_t process)
    {
        const std::string line =
            testmedia::ReadWholeFile("/proc/" + std::to_string(process) + "/cmdline");
        std::vector<std::string> arguments;
        for (std::size_t start = 0; start < line.size();) {
            const std::size_t end = line.find('\0', start);
            arguments.push_back(line.substr(start, end - start));
            start = end == std::string::npos ? line.size() : end + 1;
        }
        return arguments;
    }

    const fs::path editor_ = dir_ / "Gresmont";
    std::optional<pid_t> editorProcess_;
};

}  // namespace

TEST_F(EditTemplateProgram, GresmontStartsInTheProgramsFolderWithTheTemplateAsItsArgument)
{
    const std::string templatePath = (dir_ / "VideoTemplate" / "Dancer.avi").string();
    ASSERT_TRUE(testmedia::WriteDibAvi(templatePath,
                                       {testmedia::SplitPicture(32, 24, 12, 0xFF0000u, 0x0000FFu)},
                                       5, testmedia::DibLayout::Rgb24BottomUp));
    Start();
    ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, templatePath.c_str());
    QTest::mouseClick(WidgetOf(Item(kEditTemplate)), Qt::LeftButton);
    EXPECT_TRUE(desktop_.boxes.empty());
    ASSERT_TRUE(testmedia::PumpUntil([&] { return (editorProcess_ = FindEditor()).has_value(); }));
    const std::vector<std::string> arguments = Arguments(*editorProcess_);
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_EQ(arguments[1], templatePath);
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(*editorProcess_) + "/cwd"), dir_);

    // The editor opens the template on its first page and keeps it when the session ends.
    ASSERT_TRUE(testmedia::PumpUntil([&] { return fs::exists(dir_ / "VideoTemplateProject"); }));
    kill(*editorProcess_, SIGTERM);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return !FindEditor(); }));
    editorProcess_.reset();
    const std::string saved =
        testmedia::ReadWholeFile((dir_ / "VideoTemplateProject" / "RecentProject.tmp").string());
    const std::size_t kept = saved.find("AVIFile=" + templatePath);
    ASSERT_NE(kept, std::string::npos) << saved;
    EXPECT_TRUE(std::isspace(static_cast<unsigned char>(saved[kept + 8 + templatePath.size()])))
        << saved;
}
