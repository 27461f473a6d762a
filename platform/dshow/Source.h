#pragma once

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/StreamEnd.h"
#include "platform/dshow/StreamingOutputPin.h"

#include <vector>

// A filter whose pins are all streaming output pins; the pins add themselves on
// construction and remove themselves on destruction; the filter deletes those left. Its
// streams end early when the graph stops (IStreamEnd).
class CSource : public CBaseFilter, public IStreamEnd {
public:
    CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid);
    CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid, HRESULT* result);
    ~CSource() override;
    DECLARE_IUNKNOWN

    HRESULT EndStreams() override;
    HRESULT WaitStreamsEnded() override;

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;

    HRESULT AddPin(CStreamingOutputPin* pin);
    HRESULT RemovePin(CStreamingOutputPin* pin);

protected:
    void* GetInterface(REFIID iid) override;

    std::vector<CStreamingOutputPin*> m_paStreams;  // under m_StateLock
};
