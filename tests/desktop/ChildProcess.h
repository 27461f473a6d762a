#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace desktop {

// True when an executable of that name lies on PATH.
bool FindInPath(const std::string& name);

struct SpawnOptions {
    // Where the child works; empty: where this process does.
    std::string workingFolder;
    // A descriptor that stays open in the child.
    int keepDescriptor = -1;
    // The child's standard error goes to the test's; else to /dev/null.
    bool showErrors = false;
};

// Starts argv[0] (searched on PATH) with this process's environment plus the NAME=value
// entries of environment, its standard output to /dev/null. The child's id, or -1.
pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const SpawnOptions& options = {});

// The child's exit status (128 + the signal for one that a signal ended), or -1 when it
// has not ended within patienceMs; the child is reaped once it has ended.
int AwaitChild(pid_t child, int patienceMs);

// Runs argv to its end with the extra environment; its exit status and what it wrote to
// its standard output.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment);

}  // namespace desktop
