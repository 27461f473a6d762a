#include "platform/dshow/AudioRenderer.h"

#include "platform/dshow/Uuids.h"

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
