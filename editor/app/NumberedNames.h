#pragma once

#include <cstddef>

// Numbered bitmap names as the pages read and write them: a name is a prefix, a number
// and an extension. The extension starts at the last full stop (a name without one has an
// empty extension at its end); the number is the longest run of the digits 0 to 9 right
// before the extension, and may be empty; the prefix is everything before the number. So
// frame00012.bmp is frame, 00012 and .bmp; 00007.bmp has an empty prefix; frame.bmp has no
// number. Blanks are tab, line feed, carriage return and space.
//
// Each works in place on the caller's buffer, which holds size bytes where a size is
// given; results that do not fit are cut (at a character boundary) to size - 1 bytes.

// True exactly for the characters 0 to 9.
bool IsDigit(int c);

// The number of the name (its trailing blanks removed first); defaultValue for null, an
// empty name or a name without number. A number too large for an int gives INT_MAX.
int GetFileNumber(char* name, int defaultValue);
// Copies the name's prefix (its trailing blanks removed first) into output when given.
// False for null, an empty name or an empty prefix.
bool GetFilePrefix(char* name, char* output, std::size_t size);
// Removes the trailing blanks, then the folder part: everything up to the last backslash
// or slash (else the last colon), and the blanks after it. False, with the name kept,
// when there is no separator.
bool StripFolder(char* name);
// Ends the name in the extension given (its blanks around removed, with or without its
// full stop), replacing the name's own: frame12 and frame12.jpg both become frame12.bmp.
// An empty name becomes .bmp. False for a null name or an empty extension.
bool SetExtension(char* name, const char* extension, std::size_t size);
// Writes number with at least digits digits (zero-padded) in the number's place, at the
// extension when the name has none, keeping prefix and extension. False for null, a name
// empty after trimming, or digits below 1.
bool SetFileNumber(char* name, std::size_t size, int digits, int number);
// Replaces everything before the name's number by prefix (its blanks around removed),
// keeping number and extension. False for a name empty after trimming or a null prefix.
bool ReplacePrefix(char* name, const char* prefix, std::size_t size);
