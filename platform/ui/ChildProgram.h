#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// The one way the layer starts another program (the desktop's opener, a program of ours).
// The child starts clean of what this process set up for itself: in a session of its own,
// so that our terminal and its signals are none of its business; every signal at its
// default action and none blocked, so that neither a termination handler of ours nor a
// signal we ignore or hold back reaches into it; its input from /dev/null. The program,
// its arguments and its folder go over byte for byte (paths are bytes, not text).
// Started by posix_spawn, which is safe in a threaded program and reports a program or
// folder that cannot be used as a failure of the start itself.

enum class ProgramLookup {
    ExactPath,  // arguments[0] is the executable's path
    SearchPath  // arguments[0] is a name looked up on PATH
};

// Starts arguments[0] with arguments (the program's name included) in folder (empty: our
// own working folder). The child's process id, or 0 when it did not start (no arguments,
// no such program, a folder that cannot be entered). The caller waits for the child or
// hands it to CollectWhenEnded, so that no ended process is left behind. Any thread.
pid_t StartChildProgram(const std::vector<std::string>& arguments, const std::string& folder,
                        ProgramLookup lookup);

// Collects the child's end on a thread of its own, so that the calling thread (the user
// interface's) never waits for it and no ended process lingers. Any thread.
void CollectWhenEnded(pid_t child);
