#pragma once

#include "platform/com/Com.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/Graph.h"
#include "platform/dshow/RendererBase.h"
#include "platform/dshow/SampleGrabber.h"
#include "platform/dshow/SourceBase.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

// Small filters that drive the graph in tests without a media file.
namespace testfilters {

// A bottom-up RGB24 video type of the given size, or a PCM type.
CMediaType Rgb24Type(int width, int height);
CMediaType PcmType(int rate, int channels);

class CountingSource;

// Delivers `count` samples of its type, each filled with its own index and stamped
// [index * step, (index + 1) * step); a failing index makes FillBuffer fail there.
class CountingPin : public CSourceStream {
public:
    CountingPin(CountingSource* filter, const CMediaType& type, int count, REFERENCE_TIME step,
                int failAt);
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    int delivered() const { return next_.load(); }

protected:
    HRESULT GetMediaType(CMediaType* type) override;

private:
    CMediaType type_;
    int count_;
    REFERENCE_TIME step_;
    int failAt_;
    std::atomic<int> next_{0};
};

class CountingSource : public CSource {
public:
    CountingSource(const CMediaType& type, int count, REFERENCE_TIME step = 1'000'000,
                   int failAt = -1);
    CountingPin* pin() { return static_cast<CountingPin*>(GetPin(0)); }
};

// A renderer that records the first byte and the start time of each sample it takes, and
// refuses (E_FAIL) every sample once it has taken refuseAfter of them.
class RecordingRenderer : public CBaseRenderer {
public:
    RecordingRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
    std::vector<int> firstBytes();
    std::vector<REFERENCE_TIME> times();

    // Accepted major type; GUID_NULL takes any.
    GUID accepted = GUID_NULL;
    std::size_t refuseAfter = SIZE_MAX;

private:
    std::mutex mutex_;
    std::vector<int> firstBytes_;
    std::vector<REFERENCE_TIME> times_;
};

// A grabber callback object on the stack: no reference counting, like the graph users'.
class Callback : public ISampleGrabberCB {
public:
    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    HRESULT BufferCB(double sampleTime, BYTE* buffer, long length) override;

    // Runs on the streaming thread for each sample.
    std::function<void(double, IMediaSample*)> onSample;
    std::atomic<int> calls{0};
};

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
