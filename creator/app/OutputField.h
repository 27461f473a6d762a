#pragma once

#include "platform/ui/UiTypes.h"

// Whether the main dialog's output field names the file of one of its four input fields
// (template, audio, background, face), each taken against the program's folder as the
// creation takes it and compared by file identity (CVideoCreator::OutputIsAnInput): such
// an output is neither created nor has its audio start rewritten. User-interface thread.
bool OutputFieldNamesAnInput(HWND mainDialog);
