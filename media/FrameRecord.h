#pragma once

#include "media/image/Image.h"
#include "platform/win/Sync.h"
#include "platform/win/Types.h"

#include <type_traits>

// The unit in which frames pass between graphs, image sources and their readers. A
// record is copied as one block of bytes, so it holds a plain pointer: the image of the
// record held by a source belongs to the source, the image of a caller's record to the
// caller (freed with delete); null means no image.
struct FrameRecord {
    DWORD reserved;        // 0 in every record the system makes; copied along
    DWORD byteCount;       // 0: copy whole images; else the bytes of pixel data to copy
                           // from the start when source and target images match
    SYSTEMTIME timeStamp;  // local time a graph grabbed the frame; zero otherwise
    Image* image;
};

static_assert(std::is_trivially_copyable_v<FrameRecord>);
