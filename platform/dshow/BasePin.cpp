#include "platform/dshow/FilterBase.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/Enumerators.h"
#include "platform/text/Utf16.h"

CBasePin::CBasePin(const char*, CBaseFilter* filter, CCritSec* lock, HRESULT*, LPCWSTR name,
                   PIN_DIRECTION direction)
    : m_pFilter(filter), m_pLock(lock), m_Name(WideFrom(name)), m_dir(direction)
{}

CBasePin::~CBasePin() = default;

HRESULT CBasePin::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *out = static_cast<IPin*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CBasePin::AddRef()
{
    return m_pFilter->NonDelegatingAddRef();
}

ULONG CBasePin::Release()
{
    return m_pFilter->NonDelegatingRelease();
}

HRESULT CBasePin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type)
{
    if (!receiver)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_pFilter->IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(receiver);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    const CMediaType partial = type ? CMediaType(*type) : CMediaType();
    hr = AgreeMediaType(receiver, type ? &partial : nullptr);
    if (FAILED(hr))
        BreakConnect();
    return hr;
}

HRESULT CBasePin::AgreeMediaType(IPin* receiver, const CMediaType* partial)
{
    if (partial && !partial->IsPartiallySpecified())
        return AttemptConnection(receiver, partial);
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    ComPtr<IEnumMediaTypes> types;
    if (SUCCEEDED(EnumMediaTypes(types.Out()))) {
        const HRESULT hr = TryMediaTypes(receiver, partial, types.get());
        if (SUCCEEDED(hr))
            return hr;
        if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
            last = hr;
    }
    if (SUCCEEDED(receiver->EnumMediaTypes(types.Out()))) {
        const HRESULT hr = TryMediaTypes(receiver, partial, types.get());
        if (SUCCEEDED(hr))
            return hr;
        if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
            last = hr;
    }
    return last;
}

HRESULT CBasePin::TryMediaTypes(IPin* receiver, const CMediaType* partial, IEnumMediaTypes* types)
{
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    AM_MEDIA_TYPE* candidate = nullptr;
    while (types->Next(1, &candidate, nullptr) == S_OK) {
        const CMediaType type(*candidate);
        DeleteMediaType(candidate);
        if (partial && !type.MatchesPartial(partial))
            continue;
        const HRESULT hr = AttemptConnection(receiver, &type);
        if (SUCCEEDED(hr))
            return hr;
        last = hr;
    }
    return last;
}

HRESULT CBasePin::AttemptConnection(IPin* receiver, const CMediaType* type)
{
    HRESULT hr = CheckMediaType(type);
    if (hr != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    m_Connected = ComPtr<IPin>::Share(receiver);
    hr = SetMediaType(type);
    if (SUCCEEDED(hr)) {
        hr = receiver->ReceiveConnection(this, type);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receiver);
            if (SUCCEEDED(hr))
                return hr;
            receiver->Disconnect();
        }
    }
    m_Connected.Reset();
    m_mt = CMediaType();
    return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type)
{
    if (!connector || !type)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_pFilter->IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    const CMediaType offered(*type);
    if (CheckMediaType(&offered) != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_Connected = ComPtr<IPin>::Share(connector);
    hr = SetMediaType(&offered);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(connector);
    if (FAILED(hr)) {
        m_Connected.Reset();
        m_mt = CMediaType();
        BreakConnect();
    }
    return hr;
}

HRESULT CBasePin::Disconnect()
{
    CAutoLock lock(m_pLock);
    if (!m_pFilter->IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_Connected)
        return S_FALSE;
    const HRESULT hr = BreakConnect();
    if (FAILED(hr))
        return hr;
    m_Connected.Reset();
    m_mt = CMediaType();
    return S_OK;
}

HRESULT CBasePin::ConnectedTo(IPin** peer)
{
    if (!peer)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    m_Connected.CopyTo(peer);
    return m_Connected ? S_OK : VFW_E_NOT_CONNECTED;
}

HRESULT CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (!m_Connected) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, &m_mt);
}

HRESULT CBasePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = m_pFilter;
    m_pFilter->NonDelegatingAddRef();
    info->dir = m_dir;
    CopyWideCut(info->achName, MAX_PIN_NAME, m_Name);
    return S_OK;
}

HRESULT CBasePin::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = m_dir;
    return S_OK;
}

HRESULT CBasePin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    const CMediaType offered(*type);
    return CheckMediaType(&offered) == S_OK ? S_OK : S_FALSE;
}

HRESULT CBasePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    return CreateComObject<CEnumMediaTypes>(IID_IEnumMediaTypes, reinterpret_cast<void**>(types),
                                            this);
}

HRESULT CBasePin::EndOfStream()
{
    return E_UNEXPECTED;
}
HRESULT CBasePin::BeginFlush()
{
    return E_UNEXPECTED;
}
HRESULT CBasePin::EndFlush()
{
    return E_UNEXPECTED;
}

HRESULT CBasePin::GetMediaType(int, CMediaType*)
{
    return VFW_S_NO_MORE_ITEMS;
}

HRESULT CBasePin::SetMediaType(const CMediaType* type)
{
    m_mt = *type;
    return S_OK;
}

HRESULT CBasePin::CheckConnect(IPin* pin)
{
    PIN_DIRECTION direction;
    const HRESULT hr = pin->QueryDirection(&direction);
    if (FAILED(hr))
        return hr;
    return direction == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::CompleteConnect(IPin*)
{
    return S_OK;
}
HRESULT CBasePin::BreakConnect()
{
    return S_OK;
}
HRESULT CBasePin::Active()
{
    return S_OK;
}
HRESULT CBasePin::Inactive()
{
    return S_OK;
}

// Output pins.

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

// Input pins.

CBaseInputPin::CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock,
                             HRESULT* result, LPCWSTR name)
    : CBasePin(objectName, filter, lock, result, name, PINDIR_INPUT)
{}

HRESULT CBaseInputPin::QueryInterface(REFIID iid, void** out)
{
    if (out && iid == IID_IMemInputPin) {
        *out = static_cast<IMemInputPin*>(this);
        AddRef();
        return S_OK;
    }
    return CBasePin::QueryInterface(iid, out);
}

HRESULT CBaseInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    if (m_pFilter->IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_bFlushing)
        return S_FALSE;
    return S_OK;
}

HRESULT CBaseInputPin::EndOfStream()
{
    if (m_pFilter->IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_bFlushing)
        return S_FALSE;
    return S_OK;
}

HRESULT CBaseInputPin::BeginFlush()
{
    m_bFlushing = true;
    return S_OK;
}

HRESULT CBaseInputPin::EndFlush()
{
    m_bFlushing = false;
    return S_OK;
}

HRESULT CBaseInputPin::Inactive()
{
    m_bFlushing = false;
    return S_OK;
}
