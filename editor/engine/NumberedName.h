#pragma once

#include <cstddef>

// The names of a run of numbered bitmap files, formed from a pattern that holds one
// number conversion, such as "D:\out\shot%05d.bmp" (folder, prefix, five zero-padded
// digits, extension).
//
// Only the number is formatted: the conversion is the pattern's last "%" that is followed
// by flags ("0", "-", "+", " "), an optional width and "d" or "i"; every other character,
// a "%" in a folder or prefix (a folder named "100%") included, is copied as it stands.
// Patterns are built from the page's fields as they are, so their text is never
// unescaped. A pattern without a conversion names the same file for every number.

// Writes the name of file `number` into buffer (size bytes, terminated). False, with
// empty text in the buffer (when there is one), when the pattern is null or the name
// would not fit in size - 1 bytes: a name is never cut, since a cut name would be
// another file.
bool FormatNumberedName(const char* pattern, long long number, char* buffer, std::size_t size);

// Whether one of the count names of the numbers first, first + stride, first + 2 * stride
// ... is the file at path, however either is spelt or linked (IsSameFile): the question a
// converter asks before it writes, so that it never writes over a file it reads.
bool NumberedNamesInclude(const char* pattern, long long first, long long stride, long long count,
                          const char* path);
