#pragma once

#include <string>

namespace av {

// The one place where an FFmpeg error code becomes our error text: sets *error (when
// error is not null) to "<what>: <FFmpeg's reason>" and returns false, so a pipeline
// stage can end with `return FfmpegFailure(error, "...", code);`.
bool FfmpegFailure(std::string* error, const std::string& what, int code);

// The same for failures that carry no FFmpeg code.
bool Failure(std::string* error, const std::string& what);

}  // namespace av
