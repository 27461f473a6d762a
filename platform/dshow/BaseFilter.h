#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"
#include "platform/dshow/CritSec.h"
#include "platform/dshow/Filter.h"

#include <atomic>
#include <string>

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
public:
    CBaseFilter(const char* objectName, LPUNKNOWN outer, REFCLSID clsid);
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

// The n-th pin (0-based) of the given direction, or null; no reference.
CBasePin* FindPinOf(CBaseFilter* filter, PIN_DIRECTION direction, int index);
