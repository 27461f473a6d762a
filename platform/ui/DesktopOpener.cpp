#include "platform/ui/DesktopOpener.h"

#include "platform/ui/ChildProgram.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <sys/wait.h>

namespace {

constexpr char kOpener[] = "xdg-open";
// The opener finds out that it has no program for a target within a fraction of this.
constexpr auto kFailureWait = std::chrono::seconds(1);
constexpr auto kPollInterval = std::chrono::milliseconds(10);

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
    const pid_t opener = StartChildProgram({kOpener, target}, {}, ProgramLookup::SearchPath);
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
    CollectWhenEnded(opener);
    return true;
}
