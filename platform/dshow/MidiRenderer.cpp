#include "platform/dshow/MidiRenderer.h"

#include "platform/dshow/Uuids.h"

CMidiRenderer::CMidiRenderer() : CBaseRenderer(CLSID_AVIMIDIRender, nullptr, nullptr, nullptr) {}

HRESULT CMidiRenderer::CheckMediaType(const CMediaType* type)
{
    return type->majortype == MEDIATYPE_Midi ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CMidiRenderer::DoRenderSample(IMediaSample*)
{
    return S_OK;
}
