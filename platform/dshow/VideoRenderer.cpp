#include "platform/dshow/VideoRenderer.h"

#include "platform/dshow/Uuids.h"

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
