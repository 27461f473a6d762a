#include "platform/av/EncoderEntry.h"

#include "platform/av/EncoderTable.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace av {

std::vector<EncoderEntry> AvailableEncoders(EncoderCategory category)
{
    std::vector<EncoderEntry> found;
    for (const EncoderSettings& row : EncoderTable())
        if (row.category == category && avcodec_find_encoder_by_name(row.codecName))
            found.push_back({row.friendlyName, row.category, row.codecName});
    return found;
}

}  // namespace av
