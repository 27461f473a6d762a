#pragma once

#include "platform/dshow/FilterBase.h"

class CSampleGrabberFilter;

// The grabber's output: gives downstream the very samples its input took.
class CGrabberOutputPin : public CBaseOutputPin {
public:
    CGrabberOutputPin(CSampleGrabberFilter* filter, HRESULT* result);
    // Offers the input's type: the output connects only after the input.
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

private:
    CSampleGrabberFilter* grabber_;
};
