#pragma once

#include "media/BufferFrame.h"
#include "media/FrameRecord.h"
#include "platform/dshow/CritSec.h"
#include "platform/dshow/SourceStream.h"

#include <atomic>

// The output pin "Out" of the bitmap push source: plays a run of numbered bitmap files
// (FindNextBitmap) as uncompressed video. Its one media type is taken from the first
// usable bitmap: RGB24 for three channels, RGB8 for one (grey levels), rows top-down (a
// negative biHeight, the rows of a loaded picture), a frame time of 10^7 / rate units
// truncated (2^32 for a rate that is not positive). Sample k covers [k, k + 1) frame
// times and is a sync point. Bitmaps of another size or channel count than the first
// are scaled and converted to that type. The run ends, as the end of the stream, when
// no usable file lies within the step window, past the last number, or at the frame
// limit.
//
// Threads: SetSource, HasFrames, GetMediaType and DecideBufferSize on the application's
// thread (the last two while the graph connects, under the filter's state lock);
// FillBuffer on the pin's streaming thread, which owns the frame source's name, load and
// copy sequence and the frame record while the filter runs. Lock order: the filter's
// state lock before the frame source's lock; the pin's own lock is never held while the
// frame source is called.
class CPushPinBitmapSet : public CSourceStream {
public:
    CPushPinBitmapSet(HRESULT* result, CSource* filter);
    ~CPushPinBitmapSet() override;

    // Starts a new run while the filter is stopped: frame number 0, the current number
    // back to first, no frame limit, a copy of pattern (null stays null); frameSource is
    // not owned. Returns the first usable number (its bitmap then sits in the frame
    // source and the frame record) or -1. Values are taken as given. Refused, with -1 and
    // nothing changed, while the filter runs.
    int SetSource(CBufferFrame* frameSource, const char* pattern, float frameRate, int first,
                  int last, int step);
    // Whether a usable bitmap lies within the first probe window. While stopped it probes
    // from the first number (loading the bitmap found into the frame source) and leaves
    // the current number alone; while the filter runs it gives the answer of the last
    // probe, never touching what the streaming thread owns.
    bool HasFrames();

    // Samples filled since SetSource. Any thread.
    int GetFrameNumber() const { return frameNumber_.load(); }
    // No sample is filled once the frame number has reached limit (-1: none). Any thread.
    void SetFrameLimit(int limit) { frameLimit_ = limit; }

    // The list form: the one type at position 0.
    using CSourceStream::GetMediaType;
    HRESULT FillBuffer(IMediaSample* sample) override;
    // Two buffers of one frame unless downstream asks for another count.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    // Quality messages are not acted on.
    HRESULT Notify(IBaseFilter* self, Quality quality) override;

protected:
    HRESULT GetMediaType(CMediaType* type) override;

private:
    // The frame time in 100-nanosecond units.
    REFERENCE_TIME Period() const;
    // The record's picture in the connected type's size and channel count: the record's
    // own when it matches, else a scaled copy. Streaming thread; calls the frame source.
    const Image* FrameInStreamFormat();
    void ReleaseRecords();

    // Held by FillBuffer around the work on one sample.
    CCritSec sampleLock_;
    std::atomic<int> frameNumber_{0};
    std::atomic<int> frameLimit_{-1};

    // Set by SetSource while stopped; read by the streaming thread while running.
    CBufferFrame* frameSource_ = nullptr;
    char* pattern_ = nullptr;
    float frameRate_ = 0.0f;
    int firstNumber_ = 0;
    int lastNumber_ = 0;
    int step_ = 1;
    std::atomic<bool> hasFrames_{false};  // the last probe's answer

    // The streaming thread's while running, the application thread's while stopped.
    long long currentNumber_ = 0;
    FrameRecord frameRecord_{};   // the bitmap loaded last; its image is the pin's
    FrameRecord fittedRecord_{};  // a bitmap of another size, fitted to the stream
};
