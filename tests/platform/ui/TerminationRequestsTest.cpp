#include "platform/ui/TerminationRequests.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>
#include <vector>

namespace {

// Runs the event loop until the handler has been called count times, or a while passes.
bool AwaitCalls(const std::vector<int>& calls, std::size_t count)
{
    QElapsedTimer timer;
    timer.start();
    while (calls.size() < count && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return calls.size() == count;
}

}  // namespace

TEST(TerminationRequests, TheSystemsRequestsReachTheHandlerOnTheEventLoopsThread)
{
    std::vector<int> calls;
    std::thread::id handledOn;
    OnTerminationRequest([&](int signal) {
        calls.push_back(signal);
        handledOn = std::this_thread::get_id();
    });
    // Raised on another thread, as a signal may arrive on any.
    std::thread([] { raise(SIGTERM); }).join();
    ASSERT_TRUE(AwaitCalls(calls, 1));
    EXPECT_EQ(calls[0], SIGTERM);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    raise(SIGHUP);
    raise(SIGINT);
    ASSERT_TRUE(AwaitCalls(calls, 3));
    EXPECT_EQ(calls[1], SIGHUP);
    EXPECT_EQ(calls[2], SIGINT);

    OnTerminationRequest(nullptr);
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}
