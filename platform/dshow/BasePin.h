#pragma once

#include "platform/com/ComPtr.h"
#include "platform/dshow/CritSec.h"
#include "platform/dshow/Filter.h"
#include "platform/dshow/MediaType.h"

#include <string>

class CBaseFilter;

class CBasePin : public IPin {
public:
    CBasePin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
             LPCWSTR name, PIN_DIRECTION direction);
    virtual ~CBasePin() = default;

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
