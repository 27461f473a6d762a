#include "platform/ui/ChildProgram.h"

#include <cerrno>
#include <csignal>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// posix_spawn's attributes and file actions, released however the start goes.
class SpawnSetup {
public:
    SpawnSetup()
    {
        attributesReady_ = posix_spawnattr_init(&attributes_) == 0;
        actionsReady_ = posix_spawn_file_actions_init(&actions_) == 0;
    }
    ~SpawnSetup()
    {
        if (attributesReady_)
            posix_spawnattr_destroy(&attributes_);
        if (actionsReady_)
            posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // A session of its own, every signal at its default action and none blocked, input
    // from /dev/null, and folder as its working folder when one is given.
    bool Prepare(const std::string& folder)
    {
        if (!attributesReady_ || !actionsReady_)
            return false;
        sigset_t every;
        sigset_t none;
        sigfillset(&every);
        sigemptyset(&none);
        const short flags = POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        return posix_spawnattr_setflags(&attributes_, flags) == 0 &&
               posix_spawnattr_setsigdefault(&attributes_, &every) == 0 &&
               posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY,
                                                0) == 0 &&
               (folder.empty() ||
                posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) == 0);
    }
    const posix_spawnattr_t* attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }

private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
    bool attributesReady_ = false;
    bool actionsReady_ = false;
};

}  // namespace

pid_t StartChildProgram(const std::vector<std::string>& arguments, const std::string& folder,
                        ProgramLookup lookup)
{
    if (arguments.empty())
        return 0;
    SpawnSetup setup;
    if (!setup.Prepare(folder))
        return 0;
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const auto spawn = lookup == ProgramLookup::SearchPath ? posix_spawnp : posix_spawn;
    const int error =
        spawn(&child, argv[0], setup.actions(), setup.attributes(), argv.data(), environ);
    return error == 0 ? child : 0;
}

void CollectWhenEnded(pid_t child)
{
    if (child <= 0)
        return;
    try {
        std::thread([child] {
            while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the ended child lingers until we end, which is harmless
        // beside failing the start of a program that runs.
    }
}
