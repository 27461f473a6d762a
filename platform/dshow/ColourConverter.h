#pragma once

#include "platform/dshow/ColourInputPin.h"
#include "platform/dshow/ColourOutputPin.h"
#include "platform/dshow/FilterBase.h"

// The colour space converter (CLSID_Colour): uncompressed video of 8 bits per pixel (grey
// levels, as the picture type keeps one-channel pictures) or 32 bits (blue, green, red and
// a fourth byte that is dropped) in, 24-bit RGB of the same size, row order and frame
// time out. The graph's Connect puts one between two pins that share no type, so that a
// source of such bitmaps reaches the Sample Grabber, the encoders and the multiplexer,
// which all take 24-bit RGB. Samples are converted on the upstream streaming thread into
// buffers of the output's allocator.
class CColourConverter : public CBaseFilter {
public:
    CColourConverter();

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;

    // Whether the converter takes the type: FORMAT_VideoInfo, BI_RGB, 8 or 32 bits.
    static bool AcceptsInput(const CMediaType& type);
    // The 24-bit type it gives for an accepted input type; false for any other.
    static bool OutputTypeFor(const CMediaType& input, CMediaType* output);

private:
    friend class CColourInputPin;
    friend class CColourOutputPin;
    // Streaming thread: converts the sample into a fresh output buffer and delivers it.
    HRESULT Receive(IMediaSample* sample);
    HRESULT StreamError(HRESULT result);

    CColourInputPin input_;
    CColourOutputPin output_;
};
