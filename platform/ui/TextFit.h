#pragma once

#include "platform/ui/Resources.h"

#include <string>
#include <vector>

// Whether the texts of a dialog's controls fit their rectangles in the dialog font on this
// screen: labels (wrapped at words unless SS_LEFTNOWORDWRAP), button captions that show
// (not those of icon or bitmap buttons), edit texts and drop-list items. One line per
// control that does not fit, such as `1203 "&Audio": needs 52 x 13 pixels, has 50 x 16`;
// empty when all fit. User-interface thread, after the application object exists.
std::vector<std::string> TextsThatDoNotFit(const DialogResource& dialog);
