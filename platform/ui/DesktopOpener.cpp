#include "platform/ui/DesktopOpener.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr char kOpener[] = "xdg-open";
// The opener finds out that it has no program for a target within a fraction of this.
constexpr auto kFailureWait = std::chrono::seconds(1);
constexpr auto kPollInterval = std::chrono::milliseconds(10);

// The opener's process, with its input from /dev/null so that a program it runs never
// reads the terminal we were started from; 0 when there is no opener to run.
pid_t StartOpener(const std::string& target)
{
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return 0;
    pid_t opener = 0;
    std::string program = kOpener;
    std::string argument = target;
    char* arguments[] = {program.data(), argument.data(), nullptr};
    const bool started =
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
        posix_spawnp(&opener, kOpener, &actions, nullptr, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? opener : 0;
}

enum class OpenerState { Succeeded, Failed, Running };

// How the opener stands once it has ended or the wait is over.
OpenerState AwaitEarlyEnd(pid_t opener)
{
    const auto deadline = std::chrono::steady_clock::now() + kFailureWait;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(opener, &status, WNOHANG);
        if (ended == opener)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? OpenerState::Succeeded
                                                                 : OpenerState::Failed;
        // Reaped elsewhere (a program that ignores its children's ends): nothing to tell.
        if (ended < 0 && errno != EINTR)
            return OpenerState::Succeeded;
        if (std::chrono::steady_clock::now() >= deadline)
            return OpenerState::Running;
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace

bool OpenWithDesktopHandler(const std::string& target)
{
    const pid_t opener = StartOpener(target);
    if (opener <= 0)
        return false;
    switch (AwaitEarlyEnd(opener)) {
    case OpenerState::Succeeded:
        return true;
    case OpenerState::Failed:
        return false;
    case OpenerState::Running:
        break;
    }
    // Collected when it ends, so that no finished process is left behind.
    std::thread([opener] {
        while (::waitpid(opener, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}
