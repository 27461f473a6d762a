#include "platform/win/Window.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

TEST(PostedMessages, ArriveInOrderOnTheCreatingThreadFromAnyThread)
{
    HWND window = CreateMessageWindow();
    std::vector<std::pair<UINT, LPARAM>> received;
    std::thread::id handlerThread;
    SetMessageHandler(window, [&](HWND, UINT message, WPARAM, LPARAM lParam) {
        received.emplace_back(message, lParam);
        handlerThread = std::this_thread::get_id();
        return LRESULT{0};
    });
    std::thread poster([&] {
        for (int i = 0; i < 50; ++i)
            EXPECT_NE(PostMessageA(window, 0xBEE6, 0, i), 0);
    });
    poster.join();
    EXPECT_TRUE(received.empty());  // nothing is delivered before the loop runs
    QCoreApplication::processEvents();
    ASSERT_EQ(received.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(received[i].second, i);
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    DestroyMessageWindow(window);
}

TEST(PostedMessages, DestroyedWindowTakesNoMessagesAndDropsQueuedOnes)
{
    HWND window = CreateMessageWindow();
    int calls = 0;
    SetMessageHandler(window, [&](HWND, UINT, WPARAM, LPARAM) { return LRESULT{++calls}; });
    PostMessageA(window, 1, 0, 0);
    DestroyMessageWindow(window);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(PostMessageA(window, 1, 0, 0), 0);
    EXPECT_EQ(PostMessageA(nullptr, 1, 0, 0), 0);
}

TEST(SentMessages, ReachTheProcedureAtOnceOnItsThreadAndAreRefusedFromAnother)
{
    HWND window = CreateMessageWindow();
    int calls = 0;
    SetMessageHandler(window, [&](HWND, UINT message, WPARAM, LPARAM lParam) {
        ++calls;
        return static_cast<LRESULT>(message + lParam);
    });
    EXPECT_EQ(SendMessageA(window, 0x400, 0, 5), 0x405);
    LRESULT fromAnotherThread = -1;
    std::thread([&] { fromAnotherThread = SendMessageA(window, 0x400, 0, 5); }).join();
    EXPECT_EQ(fromAnotherThread, 0);
    EXPECT_EQ(calls, 1);
    DestroyMessageWindow(window);
    EXPECT_EQ(SendMessageA(window, 0x400, 0, 5), 0);
}

TEST(PostedMessages, AWindowMayDestroyItselfWhileHandlingOne)
{
    HWND window = CreateMessageWindow();
    int calls = 0;
    SetMessageHandler(window, [&](HWND self, UINT, WPARAM, LPARAM) {
        ++calls;
        DestroyMessageWindow(self);
        EXPECT_FALSE(IsWindow(self));
        return LRESULT{0};
    });
    PostMessageA(window, 1, 0, 0);
    PostMessageA(window, 2, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);  // the second was dropped with the window
}
