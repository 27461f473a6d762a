#include "platform/dshow/GrabberOutputPin.h"

#include "platform/dshow/SampleGrabberFilter.h"

CGrabberOutputPin::CGrabberOutputPin(CSampleGrabberFilter* filter, HRESULT* result)
    : CBaseOutputPin(nullptr, filter, filter->pStateLock(), result, u"Output"), grabber_(filter)
{}

HRESULT CGrabberOutputPin::CheckMediaType(const CMediaType* type)
{
    if (!grabber_->input_.IsConnected())
        return VFW_E_NOT_CONNECTED;
    return *type == grabber_->input_.CurrentMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CGrabberOutputPin::GetMediaType(int position, CMediaType* type)
{
    if (!grabber_->input_.IsConnected() || position > 0)
        return VFW_S_NO_MORE_ITEMS;
    if (position < 0)
        return E_INVALIDARG;
    *type = grabber_->input_.CurrentMediaType();
    return S_OK;
}
