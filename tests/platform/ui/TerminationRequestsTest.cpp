#include "platform/ui/TerminationRequests.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <thread>
#include <vector>

namespace {

// Runs the event loop until done holds, or a while passes.
bool RunEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Runs the event loop until the handler has been called count times, or a while passes.
bool AwaitCalls(const std::vector<int>& calls, std::size_t count)
{
    return RunEventsUntil([&] { return calls.size() >= count; }) && calls.size() == count;
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

TEST(TerminationRequests, ARequestThatFindsNoRoomLeavesErrnoAsTheInterruptedCodeHadIt)
{
    std::vector<int> calls;
    OnTerminationRequest([&](int signal) { calls.push_back(signal); });
    // Far more requests than the way to the event loop holds before the loop reads them.
    for (int request = 0; request < 20000; ++request)
        raise(SIGHUP);
    errno = EDOM;
    raise(SIGHUP);
    EXPECT_EQ(errno, EDOM);

    // Once the loop has read one there is room for a last request, read after all the
    // others: nothing is left for the tests that follow.
    ASSERT_TRUE(RunEventsUntil([&] { return !calls.empty(); }));
    raise(SIGINT);
    EXPECT_TRUE(RunEventsUntil([&] { return calls.back() == SIGINT; }));
    OnTerminationRequest(nullptr);
}
