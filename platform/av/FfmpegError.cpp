#include "platform/av/FfmpegError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace av {

std::string FfmpegErrorMessage(std::string_view what, int code)
{
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, reason, sizeof reason);
    std::string message(what);
    message += ": ";
    message += reason;
    return message;
}

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

bool FfmpegFailure(std::string* error, std::string_view what, int code)
{
    return Fail(error, FfmpegErrorMessage(what, code));
}

}  // namespace av
