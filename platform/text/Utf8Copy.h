#pragma once

#include <cstddef>
#include <string_view>

// Copies into fixed caller buffers never split a UTF-8 character: a text that does not
// fit is cut before the first character that would not fit whole. A character is what
// Utf8ToWide (Utf16.h) takes as one: a valid UTF-8 sequence, or a byte that is no part of
// one (a name in Latin-1), which stands alone. So a cut never leaves out more than three
// bytes that would fit, whatever the text's bytes.

// The byte length of the longest prefix of text that is at most maxBytes long and ends
// at a character boundary.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// Copies as much of text as fits into buffer, which holds size bytes, and always ends
// it with a terminator (nothing is written when size is 0). Returns the number of bytes
// copied, terminator excluded.
std::size_t CopyTextCut(char* buffer, std::size_t size, std::string_view text);
