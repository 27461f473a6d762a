#include "platform/av/FfmpegError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace av {

bool FfmpegFailure(std::string* error, const std::string& what, int code) {
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, reason, sizeof reason);
    return Failure(error, what + ": " + reason);
}

bool Failure(std::string* error, const std::string& what) {
    if (error)
        *error = what;
    return false;
}

}  // namespace av
