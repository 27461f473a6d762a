#pragma once

#include "platform/ui/UiTypes.h"

#include <string>

// The text of a dialog's path field (control id of dialog), when it fits a path buffer
// whole (at most kPathBufferSize - 1 bytes, media/PathUtils.h); otherwise empty, since a
// path cut to the buffer would name another file. User-interface thread.
std::string PathFieldText(HWND dialog, int id);

// That field's path made absolute against the program's folder (ResolveWholePath) into
// path, a buffer of kPathBufferSize bytes; empty when the text or the result does not fit
// whole. The field keeps its text.
void ReadResolvedPathField(HWND dialog, int id, char* path);
