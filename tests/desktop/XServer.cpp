#include "desktop/XServer.h"

#include "desktop/ChildProcess.h"

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace desktop {

namespace {

constexpr int kStartPatienceMs = 20000;

}  // namespace

XServer::XServer()
{
    if (!FindInPath("Xvfb")) {
        why_ = "Xvfb is not installed (Debian's xvfb)";
        return;
    }
    if (!FindInPath("xdotool")) {
        why_ = "xdotool is not installed (Debian's xdotool)";
        return;
    }
    int ready[2];
    if (pipe(ready) != 0) {
        why_ = "no pipe for Xvfb's display number";
        return;
    }
    // The server picks a free display and writes its number, once it accepts clients, to
    // the descriptor -displayfd names. Without -noreset it would reset whenever its last
    // client leaves, refusing the program that connects at that moment.
    SpawnOptions options;
    options.keepDescriptor = ready[1];
    server_ = SpawnChild({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                          "1280x1024x24", "-nolisten", "tcp", "-noreset"},
                         {}, options);
    close(ready[1]);
    std::string number;
    pollfd waiting{ready[0], POLLIN, 0};
    while (server_ > 0 && poll(&waiting, 1, kStartPatienceMs) == 1) {
        char c = 0;
        if (read(ready[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(ready[0]);
    if (number.empty()) {
        why_ = "Xvfb did not start";
        return;
    }
    display_ = ":" + number;
}

XServer::~XServer()
{
    if (server_ > 0) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
}

}  // namespace desktop
