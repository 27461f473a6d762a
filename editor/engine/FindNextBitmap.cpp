#include "editor/engine/FindNextBitmap.h"

#include "editor/engine/NumberedName.h"
#include "media/FileUtils.h"
#include "media/PathUtils.h"

#include <algorithm>

long long FindNextBitmap(CBufferFrame* source, FrameRecord* record, const char* pattern,
                         long long start, long long last, long long step)
{
    if (!source || !record)
        return -1;
    const long long end = std::min(start + step - 1, last);
    char name[kPathBufferSize];
    for (long long n = start; n <= end; ++n) {
        if (!FormatNumberedName(pattern, n, name, sizeof name) || !FileExists(name))
            continue;
        if (source->SetFileName(name) && source->LoadFile() && source->GetFrame(record) &&
            record->image) {
            return n;
        }
    }
    return -1;
}
