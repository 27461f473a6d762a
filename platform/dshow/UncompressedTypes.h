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

// An uncompressed video type (FORMAT_VideoInfo, BI_RGB, rows padded to 4 bytes) of
// bitsPerPixel 8, 24 or 32, its subtype as GetBitmapSubtype gives it: rows bottom-up for a
// positive height, top-down for a negative one; timePerFrame 0 when the rate is unknown.
// A type without format block when memory runs out.
CMediaType UncompressedVideoType(int width, int height, int bitsPerPixel,
                                 REFERENCE_TIME timePerFrame);

// The layout of a 16-bit PCM type: its WAVEFORMATEX when the type is one, else null.
const WAVEFORMATEX* Pcm16Format(const CMediaType& type);
// Interleaved signed 16-bit PCM (FORMAT_WaveFormatEx); a type without format block when
// memory runs out.
CMediaType Pcm16Type(int sampleRate, int channels);
