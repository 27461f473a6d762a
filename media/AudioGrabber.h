#pragma once

#include "media/GrabberCallback.h"

// A sample-grabber callback for an audio stream that lets every sample pass unchanged.
// The creator holds one for its audio branch; no graph of this system attaches it yet,
// but a graph could with ISampleGrabber::SetCallback and method 0.
//
// Threads: SampleCB would run on the audio stream's streaming thread; it touches no
// shared state. Not reference counted (CGrabberCallback): the owner decides its life.
class CAudioGrabber : public CGrabberCallback {
public:
    CAudioGrabber() = default;
    virtual ~CAudioGrabber() = default;

    // Reads the sample's buffer and its media and stream times without changing anything;
    // S_OK always, at once for a null sample.
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    // S_OK without doing anything.
    HRESULT BufferCB(double sampleTime, BYTE* buffer, long length) override;
};
