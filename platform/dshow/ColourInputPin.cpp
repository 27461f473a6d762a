#include "platform/dshow/ColourInputPin.h"

#include "platform/dshow/ColourConverter.h"

CColourInputPin::CColourInputPin(CColourConverter* filter, HRESULT* result)
    : CPassThroughInputPin(filter, result, u"Input", &filter->output_), converter_(filter)
{}

HRESULT CColourInputPin::CheckMediaType(const CMediaType* type)
{
    return CColourConverter::AcceptsInput(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CColourInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return converter_->Receive(sample);
}
