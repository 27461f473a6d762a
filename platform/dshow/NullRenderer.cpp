#include "platform/dshow/NullRenderer.h"

#include "platform/dshow/Uuids.h"

CNullRenderer::CNullRenderer() : CBaseRenderer(CLSID_NullRenderer, nullptr, nullptr, nullptr) {}

HRESULT CNullRenderer::CheckMediaType(const CMediaType*)
{
    return S_OK;
}

HRESULT CNullRenderer::DoRenderSample(IMediaSample*)
{
    return S_OK;
}
