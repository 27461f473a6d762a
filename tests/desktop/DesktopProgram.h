#pragma once

#include "support/TestMedia.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace desktop {

// One of the real programs built beside this test, in a folder of its own that holds the
// program and the named folders beside it as the build made them (whatever a person's run
// of the built program left there stays out), started as a child on the test's X server
// with nothing answered for it.
class DesktopProgram {
public:
    // Places the program and the shipped folders named into a temporary folder.
    DesktopProgram(const std::string& name, const std::vector<std::string>& folders);
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // False when the program or one of its folders was not built or could not be placed.
    bool placed() const { return placed_; }
    const std::filesystem::path& folder() const { return folder_; }
    // A file of the copied folder, as text (empty when missing).
    std::string Read(const std::string& name) const;

    // Starts the program in its folder with the arguments, on display.
    bool Start(const std::string& display, const std::vector<std::string>& arguments = {});
    // The exit status once the program has ended (128 + the signal when a signal ended
    // it); -1 when it is still running after the patience.
    int AwaitExit();
    // The system's request to end the program (a session ending).
    void Terminate() const;

private:
    testmedia::TempFolder temporary_;
    std::filesystem::path folder_;
    std::string name_;
    bool placed_ = false;
    pid_t child_ = -1;
};

}  // namespace desktop
