#pragma once

#include "platform/dshow/RendererBase.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace testfilters {

// A renderer that records the first byte and the start time of each sample it takes, and
// refuses (E_FAIL) every sample once it has taken refuseAfter of them.
class RecordingRenderer : public CBaseRenderer {
public:
    RecordingRenderer();
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
    std::vector<int> firstBytes();
    std::vector<REFERENCE_TIME> times();

    // Accepted major type; GUID_NULL takes any.
    GUID accepted = GUID_NULL;
    std::size_t refuseAfter = SIZE_MAX;

private:
    std::mutex mutex_;
    std::vector<int> firstBytes_;
    std::vector<REFERENCE_TIME> times_;
};

}  // namespace testfilters
