#pragma once

#include <string>
#include <sys/types.h>

namespace desktop {

// A real X server of the test's own (Xvfb, on the first free display), ended with the
// object. The programs under test draw on it and take its keys and clicks as on a desktop.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":N" once the server accepts clients; empty when none could be started, and then
    // why() tells the reason in one line.
    const std::string& display() const { return display_; }
    const std::string& why() const { return why_; }

private:
    pid_t server_ = -1;
    std::string display_;
    std::string why_;
};

}  // namespace desktop
