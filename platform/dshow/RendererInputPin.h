#pragma once

#include "platform/dshow/FilterBase.h"

class CBaseRenderer;

// A renderer's one input: takes what the renderer takes and hands samples and end of
// stream to it.
class CRendererInputPin : public CBaseInputPin {
public:
    CRendererInputPin(CBaseRenderer* renderer, HRESULT* result, LPCWSTR name);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

private:
    CBaseRenderer* renderer_;
};
