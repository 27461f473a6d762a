#pragma once

#include "platform/com/Guid.h"
#include "platform/com/Result.h"
#include "platform/com/Unknown.h"
#include "platform/com/WideString.h"
#include "platform/com/WinTypes.h"
#include "platform/dshow/MediaTypes.h"

// The filter graph's contract.
//
// Data flow. A graph holds filters; a filter has pins; an output pin connects to one input
// pin of another filter with one agreed media type. Samples are pushed: each source pin
// has one streaming thread that produces a sample and calls the connected input pin's
// IMemInputPin::Receive, which works on it and, in a transform, calls its own downstream
// Receive before it returns. So everything downstream of a source pin runs on that pin's
// streaming thread, one sample at a time, and a transform may edit the sample in place:
// the very buffer goes on.
//
// End of stream. After its last sample a source pin calls IPin::EndOfStream on its peer;
// transforms pass it on, renderers (filters without output pins) then notify EC_COMPLETE
// to the graph, which queues one EC_COMPLETE for the application once every renderer has
// had it. A streaming error is notified as EC_ERRORABORT and the stream then ends as above.
//
// Threads. Building, state changes (Run, Pause, Stop) and event draining happen on the
// application's thread. Receive, EndOfStream and the grabber's callback run on streaming
// threads. Stopping a running or paused graph first ends every stream where it is, as at
// the end of its media (StreamEnd.h), so that what is downstream finishes its work (an
// encoder gives out what it holds, the multiplexer completes its file); then Stop wakes
// every wait (a renderer waiting for a sample's time, flow control) and joins the
// threads, and returns only when every streaming thread has left the graph. A streaming
// thread must therefore never wait for the application's thread (tell it things by
// posting a message).
//
// Samples. Receive borrows the sample: it is valid until Receive returns. A filter that
// needs the data later copies it; a reference of its own is not enough, since a source
// may wrap a buffer (the decoder's) that it reuses as soon as Receive returns.
//
// Pointers. Interface pointers handed out through an out parameter carry a reference that
// the caller releases, unless a function says otherwise.

struct IBaseFilter;
struct IFilterGraph;
struct IPin;
struct IReferenceClock;

inline constexpr IID IID_IPersist{
    0x0000010C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IMediaFilter{
    0x56A86899, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IBaseFilter{
    0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IPin{
    0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IEnumPins{
    0x56A86892, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IEnumFilters{
    0x56A86893, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IEnumMediaTypes{
    0x89C31040, 0x846B, 0x11CE, {0x97, 0xD3, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
inline constexpr IID IID_IReferenceClock{
    0x56A86897, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaSample{
    0x56A8689A, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMemAllocator{
    0x56A8689C, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMemInputPin{
    0x56A8689D, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IFilterGraph{
    0x56A8689F, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEventSink{
    0x56A868A2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IQualityControl{
    0x56A868A5, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IFileSourceFilter{
    0x56A868A6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

using FILTER_STATE = int;
inline constexpr FILTER_STATE State_Stopped = 0;
inline constexpr FILTER_STATE State_Paused = 1;
inline constexpr FILTER_STATE State_Running = 2;

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

inline constexpr int MAX_PIN_NAME = 128;
inline constexpr int MAX_FILTER_NAME = 128;

struct PIN_INFO {
    IBaseFilter* pFilter;  // referenced
    PIN_DIRECTION dir;
    WCHAR achName[MAX_PIN_NAME];
};

struct FILTER_INFO {
    WCHAR achName[MAX_FILTER_NAME];
    IFilterGraph* pGraph;  // referenced, null outside a graph
};

struct IPersist : IUnknown {
    virtual HRESULT GetClassID(CLSID* clsid) = 0;
};

// A clock in REFERENCE_TIME units that only moves forward. Any thread.
struct IReferenceClock : IUnknown {
    virtual HRESULT GetTime(REFERENCE_TIME* time) = 0;
};

// State changes come from the graph, downstream filters first, on the application's
// thread. Stop returns when the filter's streaming threads have ended.
struct IMediaFilter : IPersist {
    virtual HRESULT Stop() = 0;
    virtual HRESULT Pause() = 0;
    // start: the reference time that sample time 0 maps to.
    virtual HRESULT Run(REFERENCE_TIME start) = 0;
    virtual HRESULT GetState(DWORD timeoutMs, FILTER_STATE* state) = 0;
    // Null: no clock, nothing waits for sample times.
    virtual HRESULT SetSyncSource(IReferenceClock* clock) = 0;
    virtual HRESULT GetSyncSource(IReferenceClock** clock) = 0;
};

struct IEnumPins : IUnknown {
    // S_OK when count pins came, S_FALSE when fewer; each carries a reference.
    virtual HRESULT Next(ULONG count, IPin** pins, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    // Starts again over the filter's current pins.
    virtual HRESULT Reset() = 0;
};

struct IEnumMediaTypes : IUnknown {
    // Each type comes from CoTaskMemAlloc; the caller frees it with DeleteMediaType.
    virtual HRESULT Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
};

struct IEnumFilters : IUnknown {
    virtual HRESULT Next(ULONG count, IBaseFilter** filters, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    // Starts again over the graph's current filters.
    virtual HRESULT Reset() = 0;
};

struct IBaseFilter : IMediaFilter {
    virtual HRESULT EnumPins(IEnumPins** pins) = 0;
    virtual HRESULT QueryFilterInfo(FILTER_INFO* info) = 0;
    // Called by the graph on AddFilter (graph and name) and RemoveFilter (nulls). The
    // filter keeps the graph pointer without a reference.
    virtual HRESULT JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) = 0;
};

// Pins live as long as their filter: their AddRef and Release count on the filter.
struct IPin : IUnknown {
    // Output pins: agree a type with receiver (type may be null or partial) and connect.
    virtual HRESULT Connect(IPin* receiver, const AM_MEDIA_TYPE* type) = 0;
    // Input pins: called by the connecting output pin with a complete type.
    virtual HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) = 0;
    // Breaks this end only; S_FALSE when not connected.
    virtual HRESULT Disconnect() = 0;
    virtual HRESULT ConnectedTo(IPin** peer) = 0;
    // Copies the connection's type into type (the caller frees with FreeMediaType).
    virtual HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT QueryPinInfo(PIN_INFO* info) = 0;
    virtual HRESULT QueryDirection(PIN_DIRECTION* direction) = 0;
    // S_OK when the pin would accept the type, S_FALSE otherwise.
    virtual HRESULT QueryAccept(const AM_MEDIA_TYPE* type) = 0;
    // The types the pin prefers, best first.
    virtual HRESULT EnumMediaTypes(IEnumMediaTypes** types) = 0;
    // Input pins, streaming thread: no sample follows until the next run.
    virtual HRESULT EndOfStream() = 0;
    // Input pins: samples in flight are to be dropped until EndFlush.
    virtual HRESULT BeginFlush() = 0;
    virtual HRESULT EndFlush() = 0;
};

// One buffer of media data with its times. Samples are borrowed by Receive (see above).
struct IMediaSample : IUnknown {
    virtual HRESULT GetPointer(BYTE** buffer) = 0;
    virtual long GetSize() = 0;
    // VFW_E_SAMPLE_TIME_NOT_SET without times, VFW_S_NO_STOP_TIME with a start only.
    virtual HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) = 0;
    // Null start clears the times; null stop sets a start only.
    virtual HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) = 0;
    // S_OK when the sample can be decoded on its own (a key frame), else S_FALSE.
    virtual HRESULT IsSyncPoint() = 0;
    virtual HRESULT SetSyncPoint(BOOL syncPoint) = 0;
    virtual HRESULT IsDiscontinuity() = 0;
    virtual HRESULT SetDiscontinuity(BOOL discontinuity) = 0;
    virtual long GetActualDataLength() = 0;
    // VFW_E_BUFFER_OVERFLOW beyond GetSize.
    virtual HRESULT SetActualDataLength(long length) = 0;
    // Media times: frame or sample numbers; VFW_E_MEDIA_TIME_NOT_SET when unset.
    virtual HRESULT GetMediaTime(LONGLONG* start, LONGLONG* stop) = 0;
    virtual HRESULT SetMediaTime(LONGLONG* start, LONGLONG* stop) = 0;
};

struct ALLOCATOR_PROPERTIES {
    long cBuffers;
    long cbBuffer;
    long cbAlign;
    long cbPrefix;
};

// Hands out samples of a fixed size. GetBuffer does not block: a pool that runs dry grows.
struct IMemAllocator : IUnknown {
    // Only while not committed; actual receives what was granted.
    virtual HRESULT SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) = 0;
    virtual HRESULT GetProperties(ALLOCATOR_PROPERTIES* properties) = 0;
    virtual HRESULT Commit() = 0;
    // GetBuffer fails with VFW_E_NOT_COMMITTED from now on.
    virtual HRESULT Decommit() = 0;
    // The sample carries a reference; releasing it returns the buffer to the pool.
    virtual HRESULT GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                              DWORD flags) = 0;
};

// The push transport of input pins. Streaming thread.
struct IMemInputPin : IUnknown {
    // S_OK: go on; S_FALSE: the pin wants no more samples (the source stops delivering);
    // a failure: the same, with the error already notified by the filter that had it.
    virtual HRESULT Receive(IMediaSample* sample) = 0;
};

enum QualityMessageType { Famine = 0, Flood = 1 };
struct Quality {
    QualityMessageType Type;
    long Proportion;
    REFERENCE_TIME Late;
    REFERENCE_TIME TimeStamp;
};

struct IQualityControl : IUnknown {
    virtual HRESULT Notify(IBaseFilter* self, Quality quality) = 0;
    virtual HRESULT SetSink(IQualityControl* sink) = 0;
};

// How filters tell the graph about events; any thread.
struct IMediaEventSink : IUnknown {
    virtual HRESULT Notify(long code, LONG_PTR param1, LONG_PTR param2) = 0;
};

// Source filters that read a file.
struct IFileSourceFilter : IUnknown {
    // type may be null. A failure when the file cannot be read.
    virtual HRESULT Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) = 0;
};

inline constexpr long EC_COMPLETE = 0x01;
inline constexpr long EC_USERABORT = 0x02;
inline constexpr long EC_ERRORABORT = 0x03;
