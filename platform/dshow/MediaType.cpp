#include "platform/dshow/MediaType.h"

#include "platform/com/Com.h"

#include <cstring>

namespace {

void Clear(AM_MEDIA_TYPE& type)
{
    type = AM_MEDIA_TYPE{};
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = 1;
}

}  // namespace

CMediaType::CMediaType() : AM_MEDIA_TYPE{}
{
    Clear(*this);
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& type) : AM_MEDIA_TYPE{}
{
    if (FAILED(CopyMediaType(this, &type)))
        Clear(*this);
}

CMediaType::CMediaType(const CMediaType& type) : CMediaType(static_cast<const AM_MEDIA_TYPE&>(type))
{}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& type)
{
    if (&type == this)
        return *this;
    FreeMediaType(*this);
    if (FAILED(CopyMediaType(this, &type)))
        Clear(*this);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& type)
{
    return *this = static_cast<const AM_MEDIA_TYPE&>(type);
}

CMediaType::~CMediaType()
{
    FreeMediaType(*this);
}

bool CMediaType::operator==(const CMediaType& other) const
{
    return majortype == other.majortype && subtype == other.subtype &&
           formattype == other.formattype && cbFormat == other.cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

void CMediaType::SetSampleSize(ULONG size)
{
    lSampleSize = size;
    bFixedSizeSamples = size != 0;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG size)
{
    ResetFormatBuffer();
    if (size == 0)
        return nullptr;
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (pbFormat)
        cbFormat = size;
    return pbFormat;
}

bool CMediaType::SetFormat(const BYTE* format, ULONG size)
{
    BYTE* block = AllocFormatBuffer(size);
    if (size && !block)
        return false;
    if (size)
        std::memcpy(block, format, size);
    return true;
}

void CMediaType::ResetFormatBuffer()
{
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

bool CMediaType::IsPartiallySpecified() const
{
    return majortype == GUID_NULL || subtype == GUID_NULL || formattype == GUID_NULL;
}

bool CMediaType::MatchesPartial(const CMediaType* partial) const
{
    if (partial->majortype != GUID_NULL && partial->majortype != majortype)
        return false;
    if (partial->subtype != GUID_NULL && partial->subtype != subtype)
        return false;
    if (partial->formattype != GUID_NULL) {
        if (partial->formattype != formattype)
            return false;
        if (partial->cbFormat && (partial->cbFormat != cbFormat ||
                                  std::memcmp(partial->pbFormat, pbFormat, cbFormat) != 0)) {
            return false;
        }
    }
    return true;
}
