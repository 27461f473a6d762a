#include "desktop/DesktopProgram.h"

#include "desktop/ChildProcess.h"
#include "support/ProgramFolder.h"

#include <csignal>
#include <sys/wait.h>

namespace desktop {

namespace {

namespace fs = std::filesystem;

constexpr int kExitPatienceMs = 30000;

}  // namespace

DesktopProgram::DesktopProgram(const std::string& name, const std::vector<std::string>& folders)
    : folder_(temporary_.root()), name_(name)
{
    placed_ = !folder_.empty() && !testmedia::PlaceBuiltProgram(name, folder_).empty() &&
              testmedia::PlaceShippedFolders(folders, folder_);
}

DesktopProgram::~DesktopProgram()
{
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
}

std::string DesktopProgram::Read(const std::string& name) const
{
    return testmedia::ReadWholeFile((folder_ / name).string());
}

bool DesktopProgram::Start(const std::string& display, const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {(folder_ / name_).string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::error_code error;
    const fs::path runtime = folder_ / ".runtime";
    fs::create_directory(runtime, error);
    fs::permissions(runtime, fs::perms::owner_all, error);
    // Working in the program's folder, as a launcher starts it; the pickers keep their own
    // settings in the copied folder, not in the user's.
    SpawnOptions options;
    options.workingFolder = folder_.string();
    options.showErrors = true;
    child_ = SpawnChild(argv,
                        {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                         "XDG_RUNTIME_DIR=" + runtime.string(),
                         "XDG_CONFIG_HOME=" + (folder_ / ".config").string()},
                        options);
    return child_ > 0;
}

int DesktopProgram::AwaitExit()
{
    if (child_ <= 0)
        return -1;
    const int status = AwaitChild(child_, kExitPatienceMs);
    if (status >= 0)
        child_ = -1;
    return status;
}

void DesktopProgram::Terminate() const
{
    if (child_ > 0)
        kill(child_, SIGTERM);
}

}  // namespace desktop
