#include "platform/ui/DesktopLaunch.h"

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// Started by fork and exec rather than through Qt's process class, which turns the
// program, its argument and its folder into text and back: a path whose bytes are no
// UTF-8 (a template named in Latin-1) would reach the program as another name. Here
// every byte goes to the program as it is.
//
// The program is detached as the system's own launchers do it: an intermediate child
// starts it and ends at once, so that the program is nobody's child to wait for. Between
// fork and exec only calls that are safe in a child of a threaded program are made.
bool StartDetachedProgram(const ProgramStart& start)
{
    std::string program = start.program;
    std::string argument = start.argument;
    std::vector<char*> arguments{program.data()};
    if (!argument.empty())
        arguments.push_back(argument.data());
    arguments.push_back(nullptr);
    const char* folder = start.folder.empty() ? nullptr : start.folder.c_str();

    // The program's errno when it could not start; nothing when the exec closed the pipe.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        const pid_t program = ::fork();
        if (program == 0) {
            ::setsid();
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (!folder || ::chdir(folder) == 0)
                ::execv(arguments[0], arguments.data());
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(program > 0 ? 0 : 1);
    }
    ::close(report[1]);
    int status = 0;
    const bool forked = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0;
    int error = 0;
    ssize_t told = 0;
    do
        told = ::read(report[0], &error, sizeof error);
    while (told < 0 && errno == EINTR);
    ::close(report[0]);
    return forked && told == 0;
}
