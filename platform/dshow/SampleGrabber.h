#pragma once

#include "platform/dshow/Filter.h"

// The Sample Grabber (CLSID_SampleGrabber): a filter with one input and one output that
// hands every sample to a callback on the streaming thread before passing the same
// sample, edited or not, downstream.

inline constexpr IID IID_ISampleGrabberCB{
    0x0579154A, 0x2B53, 0x4994, {0xB0, 0xD0, 0xE7, 0x73, 0x14, 0x8E, 0xFF, 0x85}};
inline constexpr IID IID_ISampleGrabber{
    0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};

// Called on the streaming thread, one sample at a time, inside the delivery of the
// sample. The time is the sample's start time in seconds. The sample (or buffer) is
// borrowed; editing it in place changes what goes downstream. S_FALSE makes the sample
// the stream's last: it still goes downstream, and the grabber's Receive then answers
// S_FALSE, so that the source ends the stream after it. Any other result is ignored.
struct ISampleGrabberCB : IUnknown {
    virtual HRESULT SampleCB(double sampleTime, IMediaSample* sample) = 0;
    virtual HRESULT BufferCB(double sampleTime, BYTE* buffer, long length) = 0;
};

struct ISampleGrabber : IUnknown {
    // After the first sample the grabber ends the stream: end of stream goes downstream
    // and its source is told to stop (S_FALSE).
    virtual HRESULT SetOneShot(BOOL oneShot) = 0;
    // The input accepts only types that match the given one in every field that is set
    // (major type, subtype, format type); a null type accepts everything. Applies to the
    // next connection.
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE* type) = 0;
    // The input's connection type (the caller frees with FreeMediaType);
    // VFW_E_NOT_CONNECTED before a connection.
    virtual HRESULT GetConnectedMediaType(AM_MEDIA_TYPE* type) = 0;
    // Kept for callers; this grabber never keeps a copy of a sample.
    virtual HRESULT SetBufferSamples(BOOL buffer) = 0;
    // method 0: SampleCB, 1: BufferCB. The grabber holds a reference to the callback;
    // null removes it. Takes effect between samples.
    virtual HRESULT SetCallback(ISampleGrabberCB* callback, long method) = 0;
};
