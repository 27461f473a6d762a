#include "desktop/ChildProcess.h"

#include "support/WaitUntil.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace desktop {

namespace {

// How often a child is asked whether it has ended.
constexpr std::uint32_t kPollMs = 20;

// This process's environment with the extra entries in place of any of the same name.
std::vector<std::string> Environment(const std::vector<std::string>& extra)
{
    std::vector<std::string> all(extra);
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& added : extra)
            replaced = replaced || added.compare(0, name.size(), name) == 0;
        if (!replaced)
            all.push_back(text);
    }
    return all;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            int outputTo, const SpawnOptions& options)
{
    std::vector<std::string> arguments(argv);
    std::vector<std::string> variables = Environment(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (outputTo >= 0)
        posix_spawn_file_actions_adddup2(&actions, outputTo, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (!options.showErrors)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (!options.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());
    pid_t child = -1;
    const int failed = posix_spawnp(&child, arguments[0].c_str(), &actions, nullptr,
                                    Pointers(arguments).data(), Pointers(variables).data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

}  // namespace

bool FindInPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const SpawnOptions& options)
{
    // Descriptors are inherited unless marked otherwise; the one to keep is not marked.
    if (options.keepDescriptor >= 0)
        fcntl(options.keepDescriptor, F_SETFD, 0);
    return Spawn(argv, environment, -1, options);
}

int AwaitChild(pid_t child, int patienceMs)
{
    int status = 0;
    if (!testmedia::WaitUntil([&] { return waitpid(child, &status, WNOHANG) == child; },
                              static_cast<std::uint32_t>(patienceMs), kPollMs))
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment)
{
    CommandResult result;
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
        return result;
    const pid_t child = Spawn(argv, environment, output[1], {});
    close(output[1]);
    char chunk[4096];
    ssize_t got = 0;
    while ((got = read(output[0], chunk, sizeof chunk)) > 0)
        result.output.append(chunk, static_cast<std::size_t>(got));
    close(output[0]);
    if (child > 0)
        result.status = AwaitChild(child, 60000);
    return result;
}

}  // namespace desktop
