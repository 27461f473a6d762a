#include "platform/dshow/BaseRenderer.h"

#include <chrono>

CBaseRenderer::CBaseRenderer(REFCLSID clsid, const char* objectName, LPUNKNOWN outer,
                             HRESULT* result)
    : CBaseFilter(objectName, outer, clsid), m_InputPin(this, result, u"In")
{}

CBaseRenderer::~CBaseRenderer() = default;

int CBaseRenderer::GetPinCount()
{
    return 1;
}

CBasePin* CBaseRenderer::GetPin(int index)
{
    return index == 0 ? &m_InputPin : nullptr;
}

void* CBaseRenderer::GetInterface(REFIID iid)
{
    if (iid == IID_IStreamEnd)
        return static_cast<IStreamEnd*>(this);
    return CBaseFilter::GetInterface(iid);
}

HRESULT CBaseRenderer::EndStreams()
{
    {
        std::lock_guard<std::mutex> lock(waitMutex_);
        ending_ = true;
    }
    WakeWaits();
    return S_OK;
}

HRESULT CBaseRenderer::WaitStreamsEnded()
{
    return S_OK;
}

void CBaseRenderer::WakeWaits()
{
    {
        std::lock_guard<std::mutex> lock(waitMutex_);
        ++stateGeneration_;
    }
    waitChanged_.notify_all();
}

HRESULT CBaseRenderer::Stop()
{
    // The state changes first so that a woken wait sees it and gives up.
    m_State = State_Stopped;
    WakeWaits();
    const HRESULT hr = CBaseFilter::Stop();
    // CBaseFilter::Stop saw the state already stopped and left the pin alone.
    m_InputPin.Inactive();
    std::lock_guard<std::mutex> lock(waitMutex_);
    completeSent_ = false;
    ending_ = false;
    return hr;
}

HRESULT CBaseRenderer::Pause()
{
    const HRESULT hr = CBaseFilter::Pause();
    WakeWaits();
    return hr;
}

HRESULT CBaseRenderer::Run(REFERENCE_TIME start)
{
    const HRESULT hr = CBaseFilter::Run(start);
    WakeWaits();
    return hr;
}

bool CBaseRenderer::WaitForRenderTime(IMediaSample* sample)
{
    std::unique_lock<std::mutex> lock(waitMutex_);
    for (;;) {
        const FILTER_STATE state = State();
        if (state == State_Stopped)
            return false;
        if (ending_)
            return false;
        const unsigned generation = stateGeneration_;
        if (state == State_Paused) {
            waitChanged_.wait(lock, [&] { return stateGeneration_ != generation; });
            continue;
        }
        REFERENCE_TIME due = 0;
        REFERENCE_TIME wait = 0;
        {
            CAutoLock stateLock(&m_StateLock);
            REFERENCE_TIME start = 0;
            REFERENCE_TIME stop = 0;
            REFERENCE_TIME now = 0;
            if (!m_pClock || FAILED(sample->GetTime(&start, &stop)) ||
                FAILED(m_pClock->GetTime(&now))) {
                return true;
            }
            due = m_tStart + start;
            wait = due - now;
        }
        if (wait <= 0)
            return true;
        const auto timeout = std::chrono::microseconds(wait / 10);
        if (!waitChanged_.wait_for(lock, timeout, [&] { return stateGeneration_ != generation; })) {
            return true;
        }
    }
}

HRESULT CBaseRenderer::Receive(IMediaSample* sample)
{
    if (!WaitForRenderTime(sample))
        return VFW_E_WRONG_STATE;
    return DoRenderSample(sample);
}

HRESULT CBaseRenderer::EndOfStream()
{
    {
        std::lock_guard<std::mutex> lock(waitMutex_);
        if (completeSent_)
            return S_OK;
        completeSent_ = true;
    }
    NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
    return S_OK;
}
