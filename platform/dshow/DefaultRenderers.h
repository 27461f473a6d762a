#pragma once

#include "platform/dshow/RendererBase.h"

// The renderers a graph adds by itself. They consume samples (paced by the clock when the
// graph has one) and report the end of their stream; none of them shows or plays
// anything on this platform.

// Takes any type.
class CNullRenderer : public CBaseRenderer {
public:
    CNullRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};

// Uncompressed 24-bit video described by a VIDEOINFOHEADER.
class CVideoRenderer : public CBaseRenderer {
public:
    CVideoRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};

// PCM audio described by a WAVEFORMATEX.
class CAudioRenderer : public CBaseRenderer {
public:
    CAudioRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
};
