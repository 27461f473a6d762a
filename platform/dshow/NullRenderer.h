#pragma once

#include "platform/dshow/RendererBase.h"

// The renderer a graph adds for a stream of any type (CLSID_NullRenderer): consumes the
// samples (paced by the clock when the graph has one) and reports the end of the stream.
class CNullRenderer : public CBaseRenderer {
public:
    CNullRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};
