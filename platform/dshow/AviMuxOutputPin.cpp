#include "platform/dshow/AviMuxOutputPin.h"

#include "platform/dshow/AviMux.h"

CAviMuxOutputPin::CAviMuxOutputPin(CAviMux* mux, HRESULT* result)
    : CBaseOutputPin(nullptr, mux, mux->pStateLock(), result, u"AVI Out")
{}

HRESULT CAviMuxOutputPin::CheckMediaType(const CMediaType* type)
{
    return type->majortype == MEDIATYPE_Stream && type->subtype == MEDIASUBTYPE_Avi
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxOutputPin::GetMediaType(int position, CMediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = CMediaType();
    type->SetType(&MEDIATYPE_Stream);
    type->SetSubtype(&MEDIASUBTYPE_Avi);
    type->SetFormatType(&FORMAT_None);
    return S_OK;
}
