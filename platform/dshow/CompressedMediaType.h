#pragma once

#include "platform/av/StreamFormatPtr.h"
#include "platform/dshow/FilterBase.h"

// The media type that describes an encoder's stream on a pin: video as a VIDEOINFOHEADER
// whose compression is the codec's four-character code, audio as a WAVEFORMATEX with the
// codec's format tag, as an AVI file stores them. False when format is null.
bool CompressedVideoType(const av::StreamFormat* format, REFERENCE_TIME timePerFrame,
                         CMediaType* type);
bool CompressedAudioType(const av::StreamFormat* format, CMediaType* type);
