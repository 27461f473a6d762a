#include "platform/dshow/ColourOutputPin.h"

#include "platform/dshow/ColourConverter.h"

#include <algorithm>

CColourOutputPin::CColourOutputPin(CColourConverter* filter, HRESULT* result)
    : CBaseOutputPin(nullptr, filter, filter->pStateLock(), result, u"Output"), converter_(filter)
{}

HRESULT CColourOutputPin::CheckMediaType(const CMediaType* type)
{
    CMediaType offered;
    if (GetMediaType(0, &offered) != S_OK)
        return VFW_E_NOT_CONNECTED;
    return *type == offered ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CColourOutputPin::GetMediaType(int position, CMediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0 || !converter_->input_.IsConnected())
        return VFW_S_NO_MORE_ITEMS;
    return CColourConverter::OutputTypeFor(converter_->input_.CurrentMediaType(), type)
               ? S_OK
               : VFW_S_NO_MORE_ITEMS;
}

HRESULT CColourOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    if (!allocator || !request)
        return E_POINTER;
    request->cBuffers = std::max(request->cBuffers, 1L);
    request->cbBuffer = static_cast<long>(m_mt.GetSampleSize());
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}
