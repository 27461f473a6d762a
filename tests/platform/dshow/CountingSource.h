#pragma once

#include "platform/dshow/SourceBase.h"
#include "tests/platform/dshow/CountingPin.h"

namespace testfilters {

// A source filter with one CountingPin.
class CountingSource : public CSource {
public:
    CountingSource(const CMediaType& type, int count, REFERENCE_TIME step = 1'000'000,
                   int failAt = -1);
    CountingPin* pin() { return static_cast<CountingPin*>(GetPin(0)); }
};

}  // namespace testfilters
