#pragma once

#include "platform/com/ComPtr.h"
#include "platform/dshow/BasePin.h"

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
