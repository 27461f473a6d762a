#pragma once

#include "platform/dshow/PassThroughInputPin.h"

class CColourConverter;

// The converter's input: takes what CColourConverter::AcceptsInput takes; samples go to
// the converter, end of stream and flushes on to its output.
class CColourInputPin : public CPassThroughInputPin {
public:
    CColourInputPin(CColourConverter* filter, HRESULT* result);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT Receive(IMediaSample* sample) override;

private:
    CColourConverter* converter_;
};
