#pragma once

#include "platform/dshow/FilterBase.h"
#include "platform/dshow/Source.h"
#include "platform/dshow/SourceStream.h"
#include "platform/dshow/StreamingOutputPin.h"

// The helpers for source filters, one class to a file; this header gathers them.
