#pragma once

#include <string>
#include <string_view>

namespace av {

// The one place where an FFmpeg error code becomes our error: a message naming the
// subsystem and the call, then FFmpeg's reason, e.g.
// "decoder: opening the file failed: No such file or directory".
// AVERROR(EAGAIN) and AVERROR_EOF are flow control and must be handled by the caller
// before they get here.
std::string FfmpegErrorMessage(std::string_view what, int code);

// Stores message in *error when error is not null; returns false so that a failing stage
// can end with `return Fail(error, ...)`.
bool Fail(std::string* error, std::string message);

// Fail with FfmpegErrorMessage(what, code): `return FfmpegFailure(error, "...", code);`.
bool FfmpegFailure(std::string* error, std::string_view what, int code);

}  // namespace av
