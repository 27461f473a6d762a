#pragma once

#include "platform/dshow/FilterBase.h"

namespace testfilters {

// A bottom-up RGB24 video type of the given size, or a PCM type.
CMediaType Rgb24Type(int width, int height);
CMediaType PcmType(int rate, int channels);

}  // namespace testfilters
