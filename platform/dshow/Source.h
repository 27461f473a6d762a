#pragma once

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/StreamingOutputPin.h"

#include <vector>

// A filter whose pins are all streaming output pins; the pins add themselves on
// construction and remove themselves on destruction; the filter deletes those left.
class CSource : public CBaseFilter {
public:
    CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid);
    CSource(const char* objectName, LPUNKNOWN outer, REFCLSID clsid, HRESULT* result);
    ~CSource() override;

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;

    HRESULT AddPin(CStreamingOutputPin* pin);
    HRESULT RemovePin(CStreamingOutputPin* pin);

protected:
    std::vector<CStreamingOutputPin*> m_paStreams;  // under m_StateLock
};
