#pragma once

#include "media/BufferFrame.h"
#include "media/FrameRecord.h"

// Probes the numbers start .. min(start + step - 1, last) of a run of numbered bitmaps
// (names as FormatNumberedName forms them) and returns the first whose file exists (as
// named, or else in the program's folder), loads through the frame source as an image
// and reaches the record; -1 when none does, when start > last, or when the source or the
// record is missing. So step is the largest gap the run bridges: with step 1 only start
// itself is tried. A file that exists but is no readable picture counts as missing.
//
// On success the frame source holds the loaded picture under the file's name and the
// record a copy of it (its image reused when the size stays, else replaced; the caller
// owns it). Arithmetic on the numbers never overflows. Calls the frame source, so the
// caller holds no lock that the source's readers wait for.
long long FindNextBitmap(CBufferFrame* source, FrameRecord* record, const char* pattern,
                         long long start, long long last, long long step);
