#pragma once

#include <string>
#include <string_view>

// Comparisons that ignore case the way the desktop platform's ANSI functions do here:
// only the ASCII letters fold, every other byte or unit compares by value, which keeps
// UTF-8 in the order of its code points.

// Below, at or above zero as first sorts before, with or after second.
int CompareNoCase(std::string_view first, std::string_view second);
bool EqualNoCase(std::string_view first, std::string_view second);
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);
// The text as these comparisons see it, A to Z lowered: two texts are EqualNoCase exactly
// when their folded forms are equal, so the folded form can key a set or a map.
std::string FoldNoCase(std::string_view text);
