#include "platform/dshow/BasePin.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/AutoLock.h"
#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/EnumMediaTypes.h"
#include "platform/text/Utf16.h"

CBasePin::CBasePin(const char*, CBaseFilter* filter, CCritSec* lock, HRESULT*, LPCWSTR name,
                   PIN_DIRECTION direction)
    : m_pFilter(filter), m_pLock(lock), m_Name(WideFrom(name)), m_dir(direction)
{}

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
