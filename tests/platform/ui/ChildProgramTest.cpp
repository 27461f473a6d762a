#include "platform/ui/DesktopLaunch.h"

#include "support/TestMedia.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The lines of a /proc status file by their names.
std::map<std::string, std::string> StatusLines(const std::string& text)
{
    std::map<std::string, std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(':');
        const std::size_t value = line.find_first_not_of(" \t", colon + 1);
        if (colon != std::string::npos && value != std::string::npos)
            lines[line.substr(0, colon)] = line.substr(value);
    }
    return lines;
}

// The bit of signal in a signal mask of a /proc status line.
unsigned long long Bit(int signal)
{
    return 1ULL << (signal - 1);
}

// While it lives, this thread ignores SIGUSR1, catches SIGUSR2 and holds SIGTERM back, as
// a program does that has set up its own signal handling.
class OwnSignalHandling {
public:
    OwnSignalHandling()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGUSR1, &ignore, &previousUsr1_);
        struct sigaction handle {};
        handle.sa_handler = [](int) {};
        sigaction(SIGUSR2, &handle, &previousUsr2_);
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &held, &previousMask_);
    }
    ~OwnSignalHandling()
    {
        pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
        sigaction(SIGUSR2, &previousUsr2_, nullptr);
        sigaction(SIGUSR1, &previousUsr1_, nullptr);
    }
    OwnSignalHandling(const OwnSignalHandling&) = delete;
    OwnSignalHandling& operator=(const OwnSignalHandling&) = delete;

private:
    struct sigaction previousUsr1_ {};
    struct sigaction previousUsr2_ {};
    sigset_t previousMask_{};
};

}  // namespace

TEST(ChildProgram, AProgramStartsWithDefaultSignalsInASessionOfItsOwnAndIsCollectedOnceEnded)
{
    testmedia::TempFolder folder;
    ASSERT_FALSE(folder.root().empty());
    // Tells its own state, then ends at once.
    const std::string program = folder.Write(
        "Tell", "#!/bin/sh\ncat /proc/$$/status > status.tmp && mv status.tmp status\n");
    fs::permissions(program, fs::perms::owner_exec, fs::perm_options::add);
    {
        const OwnSignalHandling own;
        ASSERT_TRUE(StartDetachedProgram({program, "", folder.root()}));
    }
    const std::string told = folder.path("status");
    ASSERT_TRUE(testmedia::WaitUntil([&] { return fs::exists(told); }));
    auto lines = StatusLines(testmedia::ReadWholeFile(told));
    const auto mask = [&](const char* name) { return std::stoull(lines[name], nullptr, 16); };
    // Apart from the signals the C library keeps to itself below SIGRTMIN, which no program
    // can ignore or catch through it, and which its spawn leaves ignored.
    unsigned long long reserved = 0;
    for (int signal = 32; signal < SIGRTMIN; ++signal)
        reserved |= Bit(signal);
    EXPECT_EQ(mask("SigIgn") & ~reserved, 0u);
    EXPECT_EQ(mask("SigBlk"), 0u);
    EXPECT_EQ(mask("SigCgt") & Bit(SIGUSR2), 0u);
    EXPECT_EQ(lines["NSsid"], lines["Pid"]);
    EXPECT_NE(lines["NSsid"], std::to_string(getsid(0)));

    // An ended process that nobody collects stays listed (as a zombie) until we end.
    const fs::path process = "/proc/" + lines["Pid"];
    EXPECT_TRUE(testmedia::WaitUntil([&] { return !fs::exists(process); }));
}
