#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 text, as COM, the graph and Qt keep it, and its conversions from and to UTF-8,
// the text of everything else. Text here is bytes: file names need not be UTF-8 (a name
// written in Latin-1 on an old disk), and whatever bytes a path holds must name the same
// file after a trip through UTF-16. So each byte that is no part of valid UTF-8 becomes
// the lone surrogate U+DC80 to U+DCFF (U+DC00 plus the byte), which WideToUtf8 turns back
// into that byte: WideToUtf8(Utf8ToWide(bytes)) == bytes for any bytes. Any other
// unpaired surrogate gives '?'. Nothing stops a conversion.

std::u16string Utf8ToWide(std::string_view text);
// The number of bytes from text[at] (at below text.size()) that Utf8ToWide takes as one
// character: a valid UTF-8 sequence, or else that one byte alone.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at);
std::string WideToUtf8(std::u16string_view text);
std::u16string WideFrom(const char16_t* text);  // null gives ""

// Copies as many units of text as fit into buffer, which holds size units, and always
// ends it with a terminator (nothing is written when size is 0). Returns the number of
// units copied, terminator excluded.
std::size_t CopyWideCut(char16_t* buffer, std::size_t size, std::u16string_view text);
