#pragma once

#include "platform/dshow/MediaType.h"

// The uncompressed types that the encoders and the multiplexer take.

// The rate given to uncompressed video whose type names none.
inline constexpr double kDefaultFramesPerSecond = 25.0;

// The frame layout of an uncompressed RGB24 type, rows bottom-up (a positive height) or
// top-down (a negative one): the info header when the type is one, else null.
const VIDEOINFOHEADER* Rgb24VideoInfo(const CMediaType& type);
// The frame rate the header names; kDefaultFramesPerSecond when it names none.
double FramesPerSecond(const VIDEOINFOHEADER& info);

// The layout of a 16-bit PCM type: its WAVEFORMATEX when the type is one, else null.
const WAVEFORMATEX* Pcm16Format(const CMediaType& type);
