#include "platform/dshow/PassThroughInputPin.h"

CPassThroughInputPin::CPassThroughInputPin(CBaseFilter* filter, HRESULT* result, LPCWSTR name,
                                           CBaseOutputPin* output)
    : CBaseInputPin(nullptr, filter, filter->pStateLock(), result, name), output_(output)
{}

HRESULT CPassThroughInputPin::EndOfStream()
{
    const HRESULT hr = CBaseInputPin::EndOfStream();
    if (hr != S_OK)
        return hr;
    if (!output_->IsConnected())
        return S_OK;
    return output_->DeliverEndOfStream();
}

HRESULT CPassThroughInputPin::BeginFlush()
{
    CBaseInputPin::BeginFlush();
    if (output_->IsConnected())
        output_->DeliverBeginFlush();
    return S_OK;
}

HRESULT CPassThroughInputPin::EndFlush()
{
    CBaseInputPin::EndFlush();
    if (output_->IsConnected())
        output_->DeliverEndFlush();
    return S_OK;
}
