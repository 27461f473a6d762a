#pragma once

#include "platform/dshow/PassThroughInputPin.h"

class CSampleGrabberFilter;

// The grabber's input: takes the types that match the grabber's wanted type; samples go
// to the grabber, end of stream and flushes on to its output.
class CGrabberInputPin : public CPassThroughInputPin {
public:
    CGrabberInputPin(CSampleGrabberFilter* filter, HRESULT* result);
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT Receive(IMediaSample* sample) override;

private:
    CSampleGrabberFilter* grabber_;
};
