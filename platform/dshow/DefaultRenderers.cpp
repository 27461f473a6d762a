#include "platform/dshow/DefaultRenderers.h"

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

CVideoRenderer::CVideoRenderer() : CBaseRenderer(CLSID_VideoRenderer, nullptr, nullptr, nullptr) {}

HRESULT CVideoRenderer::CheckMediaType(const CMediaType* type)
{
    const bool ok = type->majortype == MEDIATYPE_Video && type->subtype == MEDIASUBTYPE_RGB24 &&
                    type->formattype == FORMAT_VideoInfo &&
                    type->cbFormat >= sizeof(VIDEOINFOHEADER) && type->pbFormat;
    return ok ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CVideoRenderer::DoRenderSample(IMediaSample*)
{
    return S_OK;
}

CAudioRenderer::CAudioRenderer() : CBaseRenderer(CLSID_DSoundRender, nullptr, nullptr, nullptr) {}

HRESULT CAudioRenderer::CheckMediaType(const CMediaType* type)
{
    const bool ok = type->majortype == MEDIATYPE_Audio && type->subtype == MEDIASUBTYPE_PCM &&
                    type->formattype == FORMAT_WaveFormatEx &&
                    type->cbFormat >= sizeof(WAVEFORMATEX) - sizeof(WORD) && type->pbFormat;
    return ok ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAudioRenderer::DoRenderSample(IMediaSample*)
{
    return S_OK;
}
