#pragma once

#include <cstdint>

// Private-profile (INI) files with the semantics that stored project files rely on:
// section and key names compared without regard to case, values trimmed of blanks, one
// pair of enclosing quotes removed on reading, every other line of a file kept as it was
// on writing. Text is UTF-8; results are cut at character boundaries.

// Copies the value of key in section into buffer (at most size - 1 bytes and a
// terminator) and returns the number of bytes copied, terminator excluded. A missing
// file, section or key gives the default (null counts as empty). With a null key the
// buffer receives every key name of the section, each ended by a zero, the list ended by
// a second zero; with a null section, every section name likewise. When a list does not
// fit, it is cut and ended by two zeros and the result is size - 2; a single value that
// does not fit gives size - 1.
std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultValue, char* buffer,
                                       std::uint32_t size, const char* fileName);

// Writes key = value into section, creating the file and the section when missing and
// keeping every other line as it was. A null value removes the key; a null key removes
// the whole section. False when the file cannot be written.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);
