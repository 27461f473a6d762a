#include "platform/dshow/Uuids.h"
#include "platform/win/Window.h"
#include "tests/platform/dshow/CountingSource.h"
#include "tests/platform/dshow/TestGraph.h"
#include "tests/platform/dshow/TestMediaTypes.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace testfilters;

TEST(GraphNotification, EveryQueuedEventPostsTheMessageWithTheInstanceValue)
{
    HWND window = CreateMessageWindow();
    std::vector<std::pair<WPARAM, LPARAM>> posted;
    SetMessageHandler(window, [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == 0xBEE5)
            posted.emplace_back(wParam, lParam);
        return LRESULT{0};
    });

    IGraphBuilder* graph = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    IMediaControl* control = nullptr;
    IMediaEventEx* events = nullptr;
    IMediaFilter* filter = nullptr;
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
    graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&filter));
    filter->SetSyncSource(nullptr);
    auto* source = new CountingSource(Rgb24Type(4, 2), 3, 1'000'000, 2);
    graph->AddFilter(source, u"Source");
    graph->Render(PinOf(source, PINDIR_OUTPUT));
    int instance = 0;
    events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), 0xBEE5,
                            reinterpret_cast<LONG_PTR>(&instance));
    control->Run();
    // An error abort, then the completion: two events, two messages.
    long code = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    int taken = 0;
    while (taken < 2 && events->GetEvent(&code, &p1, &p2, 5000) == S_OK)
        ++taken;
    EXPECT_EQ(taken, 2);
    // The streaming thread queues an event before it posts the message, so the event can
    // be taken before its message is on its way: pump until both came, within a bound.
    for (int round = 0; round < 500 && posted.size() < 2; ++round) {
        QCoreApplication::processEvents();
        if (posted.size() < 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].first, 0u);
    EXPECT_EQ(posted[0].second, reinterpret_cast<LPARAM>(&instance));

    control->Stop();
    events->SetNotifyWindow(0, 0, 0);
    control->Run();
    while (events->GetEvent(&code, &p1, &p2, 1000) == S_OK) {
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(posted.size(), 2u);

    control->Stop();
    filter->Release();
    events->Release();
    control->Release();
    graph->Release();
    DestroyMessageWindow(window);
}
