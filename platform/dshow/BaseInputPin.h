#pragma once

#include "platform/dshow/BasePin.h"

#include <atomic>

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
