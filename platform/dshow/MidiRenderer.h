#pragma once

#include "platform/dshow/RendererBase.h"

// The default renderer of MIDI streams (CLSID_AVIMIDIRender): takes the messages at their
// times and reports the end of the stream. This platform has no synthesiser, so nothing
// sounds.
class CMidiRenderer : public CBaseRenderer {
public:
    CMidiRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};
