#include "platform/dshow/RendererInputPin.h"

#include "platform/dshow/BaseRenderer.h"

CRendererInputPin::CRendererInputPin(CBaseRenderer* renderer, HRESULT* result, LPCWSTR name)
    : CBaseInputPin(nullptr, renderer, renderer->pStateLock(), result, name), renderer_(renderer)
{}

HRESULT CRendererInputPin::CheckMediaType(const CMediaType* type)
{
    return renderer_->CheckMediaType(type);
}

HRESULT CRendererInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return renderer_->Receive(sample);
}

HRESULT CRendererInputPin::EndOfStream()
{
    const HRESULT hr = CBaseInputPin::EndOfStream();
    if (hr != S_OK)
        return hr;
    return renderer_->EndOfStream();
}
