#include "tests/platform/dshow/RecordingRenderer.h"

namespace testfilters {

namespace {
constexpr CLSID kRecordingRendererClass{0x1A2B3C4D, 0x0001, 0x0003, {1, 2, 3, 4, 5, 6, 7, 8}};
}  // namespace

RecordingRenderer::RecordingRenderer()
    : CBaseRenderer(kRecordingRendererClass, nullptr, nullptr, nullptr)
{}

HRESULT RecordingRenderer::CheckMediaType(const CMediaType* type)
{
    return accepted == GUID_NULL || type->majortype == accepted ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT RecordingRenderer::DoRenderSample(IMediaSample* sample)
{
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    sample->GetTime(&start, &stop);
    std::lock_guard<std::mutex> lock(mutex_);
    if (firstBytes_.size() >= refuseAfter)
        return E_FAIL;
    firstBytes_.push_back(data && sample->GetActualDataLength() > 0 ? data[0] : -1);
    times_.push_back(start);
    return S_OK;
}

std::vector<int> RecordingRenderer::firstBytes()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return firstBytes_;
}

std::vector<REFERENCE_TIME> RecordingRenderer::times()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return times_;
}

}  // namespace testfilters
