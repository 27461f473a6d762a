#include "platform/dshow/GrabberInputPin.h"

#include "platform/dshow/SampleGrabberFilter.h"

CGrabberInputPin::CGrabberInputPin(CSampleGrabberFilter* filter, HRESULT* result)
    : CPassThroughInputPin(filter, result, u"Input", &filter->output_), grabber_(filter)
{}

HRESULT CGrabberInputPin::CheckMediaType(const CMediaType* type)
{
    return grabber_->Accepts(type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CGrabberInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return grabber_->Receive(sample);
}
