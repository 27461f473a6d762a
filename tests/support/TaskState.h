#pragma once

#include "support/TestMedia.h"

#include <filesystem>
#include <set>
#include <string>
#include <sys/types.h>

namespace testmedia {

// The state of a process or thread as the system tells it in its stat file under /proc
// ('R' running, 'S' asleep until something wakes it, 'Z' ended and not yet reaped); '\0'
// when the file cannot be read, the task being gone.
inline char TaskState(const std::string& statPath)
{
    const std::string stat = ReadWholeFile(statPath);
    // The name before the state is in parentheses and may hold spaces and parentheses.
    const std::size_t end = stat.rfind(')');
    return end != std::string::npos && end + 2 < stat.size() ? stat[end + 2] : '\0';
}

// The threads of this process now, by id: a thread leaves the set as soon as it has ended.
inline std::set<pid_t> ThreadsOfThisProcess()
{
    std::set<pid_t> threads;
    std::error_code error;
    for (std::filesystem::directory_iterator task("/proc/self/task", error), end;
         !error && task != end; task.increment(error))
        threads.insert(static_cast<pid_t>(std::stol(task->path().filename().string())));
    return threads;
}

}  // namespace testmedia
