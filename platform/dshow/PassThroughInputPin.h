#pragma once

#include "platform/dshow/FilterBase.h"

// The input pin of a transform whose output follows its input one sample for one (the
// Sample Grabber, the colour space converter, the encoders): end of stream and flushes
// go on to the filter's output pin, when that is connected, on the calling thread.
class CPassThroughInputPin : public CBaseInputPin {
public:
    // output belongs to the same filter and may not be constructed yet.
    CPassThroughInputPin(CBaseFilter* filter, HRESULT* result, LPCWSTR name,
                         CBaseOutputPin* output);

    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

protected:
    CBaseOutputPin* output_;
};
