#pragma once

#include "platform/dshow/AutoLock.h"
#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/BaseInputPin.h"
#include "platform/dshow/BaseOutputPin.h"
#include "platform/dshow/BasePin.h"
#include "platform/dshow/CritSec.h"
#include "platform/dshow/MediaSample.h"
#include "platform/dshow/MediaType.h"
#include "platform/dshow/MemAllocator.h"

// Helpers for writing filters, one class to a file; this header gathers them. Users of
// the graph include Filter.h and Graph.h only.
//
// A filter derives from CBaseFilter and owns its pins (CBaseInputPin, CBaseOutputPin or
// the streaming pins of SourceBase.h); pins count their references on the filter, so a
// pin pointer is valid as long as the filter is. The filter's state lock (pStateLock)
// guards state changes and connections, which come from the application's thread; it is
// never taken on a streaming thread while that thread waits, so Stop can take it and then
// join streaming threads.
//
// Connection: CBaseOutputPin::Connect tries, in order, the type given, the output pin's
// own types (GetMediaType 0, 1, ...) and then the input pin's, until both CheckMediaType
// accept one; then the output pin sets up its allocator (DecideBufferSize).
//
// Delivery: an output pin's Deliver calls the peer's IMemInputPin::Receive on the calling
// (streaming) thread; DeliverEndOfStream its EndOfStream. An input pin's Receive override
// calls CBaseInputPin::Receive first, which refuses samples while stopped or flushing.
//
// Samples: CMediaSample either owns its buffer (from CMemAllocator, returned to the pool
// when the last reference goes) or wraps a buffer someone else owns and reuses.
