#pragma once

#include "platform/dshow/RendererBase.h"

// The renderer a graph adds for PCM audio described by a WAVEFORMATEX (CLSID_DSoundRender):
// consumes the samples (paced by the clock when the graph has one) and reports the end of
// the stream; it plays nothing on this platform.
class CAudioRenderer : public CBaseRenderer {
public:
    CAudioRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};
