#pragma once

#include "platform/dshow/RendererBase.h"

// The renderer a graph adds for uncompressed 24-bit video described by a VIDEOINFOHEADER
// (CLSID_VideoRenderer): consumes the frames (paced by the clock when the graph has one)
// and reports the end of the stream; it shows nothing on this platform.
class CVideoRenderer : public CBaseRenderer {
public:
    CVideoRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};
