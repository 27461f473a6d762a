#include "tests/platform/dshow/CountingSource.h"

namespace testfilters {

namespace {
constexpr CLSID kTestSourceClass{0x1A2B3C4D, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
}  // namespace

CountingSource::CountingSource(const CMediaType& type, int count, REFERENCE_TIME step, int failAt)
    : CSource(nullptr, nullptr, kTestSourceClass)
{
    new CountingPin(this, type, count, step, failAt);
}

}  // namespace testfilters
