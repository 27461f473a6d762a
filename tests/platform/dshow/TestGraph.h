#pragma once

#include "platform/com/Com.h"
#include "platform/dshow/Graph.h"

// Driving a graph in a test: making objects, finding pins, the graph manager and its
// events.
namespace testfilters {

// The first pin of a filter in a direction, without a reference.
IPin* PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int index = 0);

// Creates an object of a class as T (referenced), or null.
template <class T>
T* Create(REFCLSID clsid, REFIID iid)
{
    T* object = nullptr;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&object));
    return object;
}

// A graph manager with its control and event interfaces, released at the end of the test.
struct TestGraph {
    TestGraph();
    ~TestGraph();
    TestGraph(const TestGraph&) = delete;
    TestGraph& operator=(const TestGraph&) = delete;
    // Lets the graph run as fast as its filters go.
    void RemoveClock();

    IGraphBuilder* builder = nullptr;
    IMediaControl* control = nullptr;
    IMediaEventEx* events = nullptr;
};

// Takes every event that comes within timeoutMs of the one before; returns how many of
// them had the code.
int DrainEvents(IMediaEventEx* events, long code, long timeoutMs);

}  // namespace testfilters
