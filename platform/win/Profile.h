#pragma once

#include <cstdint>

// Private-profile (INI) files with the semantics that stored project files rely on:
// section and key names compared without regard to case, values trimmed of blanks, one
// pair of enclosing quotes removed on reading, every other line of a file kept as it was
// on writing. Text is UTF-8; results are cut at character boundaries as every copy into
// a fixed buffer is (Utf8Copy.h). Backslashes in values are stored and read as they
// stand. File names may use '\' or '/' as separators.
//
// A file that is not a regular file (a FIFO, a device such as /dev/zero) or that holds
// more than 4 MiB, far beyond any project, is none of ours: reading it gives every
// default, as a missing file does, and writing to it fails and leaves it as it was.
//
// Both may be called from any thread; writes to one file must not overlap, since each
// write reads the whole file and replaces it.

// Copies the value of key in section into buffer (at most size - 1 bytes and a
// terminator) and returns the number of bytes copied, terminator excluded. A missing
// file, section or key gives the default (null counts as empty) without its trailing
// blanks. With a null key the buffer receives every key name of the section, each ended
// by a zero, the list ended by a second zero; with a null section, every section name
// likewise. When a list does not fit, it is cut and ended by two zeros and the result is
// size - 2; a single value that does not fit is cut to size - 1 bytes or fewer. A null
// buffer or a size of 0 gives 0 and no copy. The caller owns the buffer.
std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultValue, char* buffer, std::uint32_t size,
                                       const char* fileName);

// Writes key = value into section, creating the file and the section when missing and
// keeping every other line as it was. A null value removes the key; a null key removes
// the whole section. The file is replaced as a whole through a temporary file beside it,
// so a failed write leaves it as it was. A value that reading would change (blanks at
// either end, or a pair of enclosing quotes) is stored in double quotes, so that it reads
// back as given. False when the file cannot be written (missing folder, read-only file),
// for a null section, and for an entry that would not read back as written (a line break
// in it, a ']' in the section name, a key that is blank, holds an '=' or begins with ';'
// or '[').
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);
