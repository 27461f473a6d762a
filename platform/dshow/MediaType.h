#pragma once

#include "platform/dshow/Filter.h"

// An AM_MEDIA_TYPE that owns its format block: copies are deep, destruction frees it.
class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    CMediaType(const AM_MEDIA_TYPE& type);  // NOLINT: converting like the structure it wraps
    CMediaType(const CMediaType& type);
    CMediaType& operator=(const AM_MEDIA_TYPE& type);
    CMediaType& operator=(const CMediaType& type);
    ~CMediaType();

    bool operator==(const CMediaType& other) const;  // every field and the format bytes
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    const GUID* Type() const { return &majortype; }
    const GUID* Subtype() const { return &subtype; }
    const GUID* FormatType() const { return &formattype; }
    void SetType(const GUID* type) { majortype = *type; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    void SetTemporalCompression(BOOL compressed) { bTemporalCompression = compressed; }
    // A non-zero size also marks the samples as fixed-size.
    void SetSampleSize(ULONG size);
    ULONG GetSampleSize() const { return lSampleSize; }

    // Replaces the format block by size uninitialised bytes; null when memory runs out.
    BYTE* AllocFormatBuffer(ULONG size);
    BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
    bool SetFormat(const BYTE* format, ULONG size);
    void ResetFormatBuffer();

    // True when major type, subtype or format type is GUID_NULL.
    bool IsPartiallySpecified() const;
    // True when every field set in partial (major type, subtype, format type) is equal.
    bool MatchesPartial(const CMediaType* partial) const;
};
