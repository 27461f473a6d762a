#pragma once

#include "platform/com/Guid.h"
#include "platform/ui/UiTypes.h"

// The compressor lists of both programs' option pages: a drop list of the friendly names
// of a DirectShow compressor category (CLSID_AudioCompressorCategory or
// CLSID_VideoCompressorCategory), so that the user chooses among the compressors this
// machine has. User-interface thread.

// The entry that stands for storing a stream as it comes; always the list's first.
inline constexpr char kNoCompression[] = "(No Compression)";

// Empties the drop list, adds kNoCompression, then the friendly name of every device of
// the category that can be created, in enumeration order; a device that is listed but
// cannot be created is left out, and the enumeration ends at the first position without
// a device or a name. Names longer than a list item holds are cut (platform/ui/Controls.h).
void FillCompressorCombo(HWND list, const CLSID& category);

// Deletes every item of the drop list that begins with prefix, without regard to the
// case of ASCII letters, as the programs leave compressors they do not offer out of their
// lists.
void RemoveCompressorsBeginningWith(HWND list, const char* prefix);
