#include "platform/dshow/Source.h"

#include "platform/dshow/AutoLock.h"

#include <algorithm>

CSource::CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid)
    : CBaseFilter(objectName, outer, clsid)
{}

CSource::CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid, HRESULT* result)
    : CBaseFilter(objectName, outer, clsid)
{
    if (result)
        *result = S_OK;
}

CSource::~CSource()
{
    // A pin's destructor removes it from the list.
    while (!m_paStreams.empty())
        delete m_paStreams.back();
}

void* CSource::GetInterface(REFIID iid)
{
    if (iid == IID_IStreamEnd)
        return static_cast<IStreamEnd*>(this);
    return CBaseFilter::GetInterface(iid);
}

HRESULT CSource::EndStreams()
{
    CAutoLock lock(&m_StateLock);
    for (CStreamingOutputPin* pin : m_paStreams)
        pin->EndEarly();
    return S_OK;
}

HRESULT CSource::WaitStreamsEnded()
{
    CAutoLock lock(&m_StateLock);
    for (CStreamingOutputPin* pin : m_paStreams)
        pin->EndedEarly();
    return S_OK;
}

int CSource::GetPinCount()
{
    CAutoLock lock(&m_StateLock);
    return static_cast<int>(m_paStreams.size());
}

CBasePin* CSource::GetPin(int index)
{
    CAutoLock lock(&m_StateLock);
    if (index < 0 || index >= static_cast<int>(m_paStreams.size()))
        return nullptr;
    return m_paStreams[index];
}

HRESULT CSource::AddPin(CStreamingOutputPin* pin)
{
    CAutoLock lock(&m_StateLock);
    m_paStreams.push_back(pin);
    return S_OK;
}

HRESULT CSource::RemovePin(CStreamingOutputPin* pin)
{
    CAutoLock lock(&m_StateLock);
    auto found = std::find(m_paStreams.begin(), m_paStreams.end(), pin);
    if (found == m_paStreams.end())
        return S_FALSE;
    m_paStreams.erase(found);
    return S_OK;
}
