#include "platform/ui/TerminationRequests.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The signal handler may only write to a descriptor; the notifier on the other end of
// the pair hands the signal to the event loop.
int g_signalPipe[2] = {-1, -1};

// The code the signal interrupted may be about to read errno: a full pair (EAGAIN) must
// not change it.
void WriteSignal(int signal)
{
    const int interruptedError = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(g_signalPipe[1], &number, 1);
    errno = interruptedError;
}

std::function<void(int)>& Handler()
{
    static std::function<void(int)> handler;
    return handler;
}

bool OpenPipe()
{
    static QSocketNotifier* notifier = nullptr;
    if (notifier)
        return true;
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0)
        return false;
    notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char number = 0;
        if (read(g_signalPipe[0], &number, 1) == 1 && Handler())
            Handler()(number);
    });
    return true;
}

}  // namespace

void OnTerminationRequest(std::function<void(int signal)> handler)
{
    const bool catching = handler && OpenPipe();
    Handler() = std::move(handler);
    struct sigaction action {};
    action.sa_handler = catching ? &WriteSignal : SIG_DFL;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}
