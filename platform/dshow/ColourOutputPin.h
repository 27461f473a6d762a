#pragma once

#include "platform/dshow/FilterBase.h"

class CColourConverter;

// The converter's output: offers the 24-bit type of the connected input, so it connects
// only after the input, and sizes its allocator for one converted frame.
class CColourOutputPin : public CBaseOutputPin {
public:
    CColourOutputPin(CColourConverter* filter, HRESULT* result);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    CColourConverter* converter_;
};
