#include "tests/platform/dshow/TestGraph.h"

#include "platform/dshow/Uuids.h"

namespace testfilters {

IPin* PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int index)
{
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    IPin* pin = nullptr;
    IPin* found = nullptr;
    while (!found && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        pin->QueryDirection(&d);
        if (d == direction && index-- == 0)
            found = pin;
        pin->Release();
    }
    pins->Release();
    return found;
}

TestGraph::TestGraph()
{
    builder = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    builder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    builder->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
}

TestGraph::~TestGraph()
{
    control->Stop();
    events->Release();
    control->Release();
    builder->Release();
}

void TestGraph::RemoveClock()
{
    IMediaFilter* filter = nullptr;
    builder->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&filter));
    filter->SetSyncSource(nullptr);
    filter->Release();
}

int DrainEvents(IMediaEventEx* events, long code, long timeoutMs)
{
    int seen = 0;
    long got = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    while (events->GetEvent(&got, &p1, &p2, timeoutMs) == S_OK) {
        events->FreeEventParams(got, p1, p2);
        if (got == code)
            ++seen;
    }
    return seen;
}

}  // namespace testfilters
