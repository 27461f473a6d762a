#include "platform/dshow/BaseOutputPin.h"

#include "platform/com/ComPtr.h"
#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/MemAllocator.h"

#include <new>
#include <utility>

CBaseOutputPin::CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock,
                               HRESULT* result, LPCWSTR name)
    : CBasePin(objectName, filter, lock, result, name, PINDIR_OUTPUT)
{}

HRESULT CBaseOutputPin::QueryInterface(REFIID iid, void** out)
{
    if (out && iid == IID_IQualityControl) {
        *out = static_cast<IQualityControl*>(this);
        AddRef();
        return S_OK;
    }
    return CBasePin::QueryInterface(iid, out);
}

HRESULT CBaseOutputPin::Notify(IBaseFilter*, Quality)
{
    return E_NOTIMPL;
}
HRESULT CBaseOutputPin::SetSink(IQualityControl*)
{
    return S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin* receivePin)
{
    ComPtr<IMemInputPin> input;
    if (FAILED(receivePin->QueryInterface(IID_IMemInputPin, input.OutVoid())))
        return VFW_E_NO_TRANSPORT;
    auto allocator = ComPtr<IMemAllocator>::Share(new (std::nothrow) CMemAllocator());
    if (!allocator)
        return E_OUTOFMEMORY;
    ALLOCATOR_PROPERTIES request{0, 0, 0, 0};
    const HRESULT hr = DecideBufferSize(allocator.get(), &request);
    if (FAILED(hr))
        return hr;
    m_pInputPin = std::move(input);
    m_pAllocator = std::move(allocator);
    return S_OK;
}

HRESULT CBaseOutputPin::BreakConnect()
{
    m_pInputPin.Reset();
    m_pAllocator.Reset();
    return S_OK;
}

HRESULT CBaseOutputPin::Active()
{
    ALLOCATOR_PROPERTIES properties{};
    if (!m_pAllocator || FAILED(m_pAllocator->GetProperties(&properties)) ||
        properties.cbBuffer <= 0) {
        return S_OK;
    }
    return m_pAllocator->Commit();
}

HRESULT CBaseOutputPin::Inactive()
{
    if (m_pAllocator)
        m_pAllocator->Decommit();
    return S_OK;
}

HRESULT CBaseOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES*)
{
    return S_OK;
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                          REFERENCE_TIME* stop, DWORD flags)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    if (!m_pAllocator)
        return VFW_E_NOT_CONNECTED;
    return m_pAllocator->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample)
{
    if (!m_pInputPin)
        return VFW_E_NOT_CONNECTED;
    return m_pInputPin->Receive(sample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream()
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->EndOfStream();
}

HRESULT CBaseOutputPin::DeliverBeginFlush()
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->BeginFlush();
}

HRESULT CBaseOutputPin::DeliverEndFlush()
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->EndFlush();
}
