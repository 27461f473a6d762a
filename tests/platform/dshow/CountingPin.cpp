#include "tests/platform/dshow/CountingPin.h"

#include "tests/platform/dshow/CountingSource.h"

#include <cstring>

namespace testfilters {

CountingPin::CountingPin(CountingSource* filter, const CMediaType& type, int count,
                         REFERENCE_TIME step, int failAt)
    : CSourceStream(nullptr, nullptr, filter, u"Out"), type_(type), count_(count), step_(step),
      failAt_(failAt)
{}

HRESULT CountingPin::GetMediaType(CMediaType* type)
{
    *type = type_;
    return S_OK;
}

HRESULT CountingPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = 2;
    request->cbBuffer = 64;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

HRESULT CountingPin::FillBuffer(IMediaSample* sample)
{
    const int index = next_.load();
    if (index == failAt_)
        return E_FAIL;
    if (index >= count_)
        return S_FALSE;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memset(data, index & 0xFF, static_cast<std::size_t>(sample->GetSize()));
    REFERENCE_TIME start = index * step_;
    REFERENCE_TIME stop = start + step_;
    sample->SetTime(&start, &stop);
    next_ = index + 1;
    return S_OK;
}

}  // namespace testfilters
