#pragma once

#include <string_view>

// Comparisons that ignore case the way the desktop platform's ANSI functions do here:
// only the ASCII letters fold, every other byte or unit compares by value, which keeps
// UTF-8 in the order of its code points.

// Below, at or above zero as first sorts before, with or after second.
int CompareNoCase(std::string_view first, std::string_view second);
bool EqualNoCase(std::string_view first, std::string_view second);
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);
