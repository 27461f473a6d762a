#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"
#include "platform/dshow/Filter.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// Helpers for writing filters. Users of the graph include Filter.h and Graph.h only.
//
// A filter derives from CBaseFilter and owns its pins (CBaseInputPin, CBaseOutputPin or
// the streaming pins of SourceBase.h); pins count their references on the filter, so a
// pin pointer is valid as long as the filter is. The filter's state lock (pStateLock)
// guards state changes and connections, which come from the application's thread; it is
// never taken on a streaming thread while that thread waits, so Stop can take it and then
// join streaming threads.
//
// Connection: CBaseOutputPin::Connect tries, in order, the type given, the output pin's
// own types (GetMediaType 0, 1, ...) and then the input pin's, until both CheckMediaType
// accept one; then the output pin sets up its allocator (DecideBufferSize).
//
// Delivery: an output pin's Deliver calls the peer's IMemInputPin::Receive on the calling
// (streaming) thread; DeliverEndOfStream its EndOfStream. An input pin's Receive override
// calls CBaseInputPin::Receive first, which refuses samples while stopped or flushing.
//
// Samples: CMediaSample either owns its buffer (from CMemAllocator, returned to the pool
// when the last reference goes) or wraps a buffer someone else owns and reuses.

// A re-entrant lock with the names the filter code uses.
class CCritSec {
public:
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    std::recursive_mutex& mutex() { return mutex_; }

private:
    std::recursive_mutex mutex_;
};

class CAutoLock {
public:
    explicit CAutoLock(CCritSec* lock) : lock_(lock) { lock_->Lock(); }
    ~CAutoLock() { lock_->Unlock(); }
    CAutoLock(const CAutoLock&) = delete;
    CAutoLock& operator=(const CAutoLock&) = delete;

private:
    CCritSec* lock_;
};

// An AM_MEDIA_TYPE that owns its format block: copies are deep, destruction frees it.
class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    CMediaType(const AM_MEDIA_TYPE& type);  // NOLINT: converting like the structure it wraps
    CMediaType(const CMediaType& type);
    CMediaType& operator=(const AM_MEDIA_TYPE& type);
    CMediaType& operator=(const CMediaType& type);
    ~CMediaType();

    bool operator==(const CMediaType& other) const;  // every field and the format bytes
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    const GUID* Type() const { return &majortype; }
    const GUID* Subtype() const { return &subtype; }
    const GUID* FormatType() const { return &formattype; }
    void SetType(const GUID* type) { majortype = *type; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    void SetTemporalCompression(BOOL compressed) { bTemporalCompression = compressed; }
    // A non-zero size also marks the samples as fixed-size.
    void SetSampleSize(ULONG size);
    ULONG GetSampleSize() const { return lSampleSize; }

    // Replaces the format block by size uninitialised bytes; null when memory runs out.
    BYTE* AllocFormatBuffer(ULONG size);
    BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
    bool SetFormat(const BYTE* format, ULONG size);
    void ResetFormatBuffer();

    // True when major type, subtype or format type is GUID_NULL.
    bool IsPartiallySpecified() const;
    // True when every field set in partial (major type, subtype, format type) is equal.
    bool MatchesPartial(const CMediaType* partial) const;
};

class CMemAllocator;

class CMediaSample : public CUnknown, public IMediaSample {
public:
    // Wraps size bytes that belong to someone else; they must outlive the sample.
    CMediaSample(BYTE* buffer, long size);
    DECLARE_IUNKNOWN

    // Points the sample at another foreign buffer and clears times and flags; only while
    // nobody else holds the sample.
    void Wrap(BYTE* buffer, long size);

    HRESULT GetPointer(BYTE** buffer) override;
    long GetSize() override;
    HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT IsSyncPoint() override;
    HRESULT SetSyncPoint(BOOL syncPoint) override;
    HRESULT IsDiscontinuity() override;
    HRESULT SetDiscontinuity(BOOL discontinuity) override;
    long GetActualDataLength() override;
    HRESULT SetActualDataLength(long length) override;
    HRESULT GetMediaTime(LONGLONG* start, LONGLONG* stop) override;
    HRESULT SetMediaTime(LONGLONG* start, LONGLONG* stop) override;

protected:
    void* GetInterface(REFIID iid) override;
    void LastReleased() override;

private:
    friend class CMemAllocator;
    // A buffer of its own, for the allocator's pool.
    CMediaSample(CMemAllocator* allocator, long size);
    void ClearProperties();

    CMemAllocator* allocator_ = nullptr;  // set for pooled samples
    std::vector<BYTE> ownBuffer_;
    BYTE* buffer_ = nullptr;
    long size_ = 0;
    long actualLength_ = 0;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME stop_ = 0;
    bool timeValid_ = false;
    bool stopValid_ = false;
    LONGLONG mediaStart_ = 0;
    LONGLONG mediaStop_ = 0;
    bool mediaTimeValid_ = false;
    bool syncPoint_ = false;
    bool discontinuity_ = false;
};

// A pool of owned samples. A sample that is out keeps the allocator alive.
class CMemAllocator : public CUnknown, public IMemAllocator {
public:
    CMemAllocator() = default;
    ~CMemAllocator() override;
    DECLARE_IUNKNOWN

    HRESULT SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    HRESULT GetProperties(ALLOCATOR_PROPERTIES* properties) override;
    HRESULT Commit() override;
    HRESULT Decommit() override;
    HRESULT GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                      DWORD flags) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    friend class CMediaSample;
    void ReturnSample(CMediaSample* sample);

    // Guards everything below; samples come back on streaming threads.
    std::mutex mutex_;
    ALLOCATOR_PROPERTIES properties_{0, 0, 1, 0};
    bool committed_ = false;
    std::vector<CMediaSample*> free_;
};

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
public:
    CBaseFilter(const char* objectName, LPUNKNOWN outer, REFCLSID clsid);
    ~CBaseFilter() override;
    DECLARE_IUNKNOWN

    // Pins in their fixed order; the pointers carry no reference.
    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int index) = 0;

    HRESULT GetClassID(CLSID* clsid) override;
    // Stop: Inactive on every pin (streaming pins join their threads), then stopped.
    HRESULT Stop() override;
    // From stopped: Active on every pin (streaming pins start their threads).
    HRESULT Pause() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    HRESULT SetSyncSource(IReferenceClock* clock) override;
    HRESULT GetSyncSource(IReferenceClock** clock) override;
    HRESULT EnumPins(IEnumPins** pins) override;
    HRESULT QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;

    // Any thread. Hands the event to the graph's IMediaEventSink; E_NOTIMPL outside a graph.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

    CCritSec* pStateLock() { return &m_StateLock; }
    // Any thread: the state as of the last completed change.
    FILTER_STATE State() const { return m_State.load(); }
    bool IsStopped() const { return State() == State_Stopped; }
    IFilterGraph* GetFilterGraph() const { return m_pGraph; }

protected:
    void* GetInterface(REFIID iid) override;

    CCritSec m_StateLock;
    std::atomic<FILTER_STATE> m_State{State_Stopped};
    // Under m_StateLock; read by streaming threads only while running.
    REFERENCE_TIME m_tStart = 0;
    ComPtr<IReferenceClock> m_pClock;
    IFilterGraph* m_pGraph = nullptr;    // not referenced: the graph owns the filter
    IMediaEventSink* m_pSink = nullptr;  // the graph's, not referenced
    std::u16string m_Name;
    CLSID m_clsid;
};

class CBasePin : public IPin {
public:
    CBasePin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
             LPCWSTR name, PIN_DIRECTION direction);
    virtual ~CBasePin();

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override;  // counts on the filter
    ULONG Release() override;

    HRESULT Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    HRESULT Disconnect() override;
    HRESULT ConnectedTo(IPin** peer) override;
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT QueryPinInfo(PIN_INFO* info) override;
    HRESULT QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT QueryAccept(const AM_MEDIA_TYPE* type) override;
    HRESULT EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

    // S_OK when the pin accepts the complete type.
    virtual HRESULT CheckMediaType(const CMediaType* type) = 0;
    // The pin's preferred types: S_OK for position 0, 1, ... then VFW_S_NO_MORE_ITEMS.
    virtual HRESULT GetMediaType(int position, CMediaType* type);
    virtual HRESULT SetMediaType(const CMediaType* type);
    // Before a type is agreed; the default checks the direction.
    virtual HRESULT CheckConnect(IPin* pin);
    virtual HRESULT CompleteConnect(IPin* receivePin);
    virtual HRESULT BreakConnect();
    // Called by the filter when it leaves and when it enters the stopped state.
    virtual HRESULT Active();
    virtual HRESULT Inactive();

    bool IsConnected() const { return static_cast<bool>(m_Connected); }
    IPin* GetConnected() const { return m_Connected.get(); }  // no reference
    const CMediaType& CurrentMediaType() const { return m_mt; }
    const std::u16string& Name() const { return m_Name; }
    PIN_DIRECTION Direction() const { return m_dir; }

protected:
    // Sets the type on both ends, or undoes the attempt.
    HRESULT AttemptConnection(IPin* receiver, const CMediaType* type);
    HRESULT TryMediaTypes(IPin* receiver, const CMediaType* partial, IEnumMediaTypes* types);
    HRESULT AgreeMediaType(IPin* receiver, const CMediaType* partial);

    CBaseFilter* m_pFilter;
    CCritSec* m_pLock;  // the filter's state lock
    std::u16string m_Name;
    PIN_DIRECTION m_dir;
    // Under m_pLock.
    ComPtr<IPin> m_Connected;
    CMediaType m_mt;
};

class CBaseOutputPin : public CBasePin, public IQualityControl {
public:
    CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                   LPCWSTR name);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override { return CBasePin::AddRef(); }
    ULONG Release() override { return CBasePin::Release(); }

    // Quality messages are not acted on: E_NOTIMPL unless overridden.
    HRESULT Notify(IBaseFilter* self, Quality quality) override;
    HRESULT SetSink(IQualityControl* sink) override;

    // Needs the peer's IMemInputPin, then sets up the allocator.
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;    // commits the allocator
    HRESULT Inactive() override;  // decommits it

    // Sizes the allocator; request arrives zeroed. The default asks for nothing: pins that
    // deliver samples of their own need no buffers.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request);
    // A sample from the allocator, referenced; VFW_E_NOT_CONNECTED or VFW_E_NOT_COMMITTED.
    virtual HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                      REFERENCE_TIME* stop, DWORD flags);
    // Streaming thread: the peer's Receive; VFW_E_NOT_CONNECTED without a peer.
    virtual HRESULT Deliver(IMediaSample* sample);
    virtual HRESULT DeliverEndOfStream();
    virtual HRESULT DeliverBeginFlush();
    virtual HRESULT DeliverEndFlush();

protected:
    // Set on connection, under m_pLock.
    ComPtr<IMemInputPin> m_pInputPin;
    ComPtr<IMemAllocator> m_pAllocator;
};

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                  LPCWSTR name);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override { return CBasePin::AddRef(); }
    ULONG Release() override { return CBasePin::Release(); }

    // VFW_E_WRONG_STATE while stopped, S_FALSE while flushing, else S_OK.
    HRESULT Receive(IMediaSample* sample) override;
    // S_FALSE while flushing, VFW_E_WRONG_STATE while stopped, else S_OK.
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT Inactive() override;

    bool IsFlushing() const { return m_bFlushing.load(); }

protected:
    std::atomic<bool> m_bFlushing{false};
};

// The n-th pin (0-based) of the given direction, or null; no reference.
CBasePin* FindPinOf(CBaseFilter* filter, PIN_DIRECTION direction, int index);
