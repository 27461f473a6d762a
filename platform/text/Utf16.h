#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 text, as COM and the graph keep it, and its conversions from and to UTF-8, the
// text of everything else. Malformed UTF-8 gives U+FFFD and an unpaired surrogate '?';
// neither stops the conversion.

std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);
std::u16string WideFrom(const char16_t* text);  // null gives ""

// Copies as many units of text as fit into buffer, which holds size units, and always
// ends it with a terminator (nothing is written when size is 0). Returns the number of
// units copied, terminator excluded.
std::size_t CopyWideCut(char16_t* buffer, std::size_t size, std::u16string_view text);
