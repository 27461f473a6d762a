#pragma once

#include <cstdint>

// Reading values from profile (INI) files named relative to the running program.

// GetPrivateProfileStringA (platform/win/Profile.h) on the profile file that
// profileName names: a name that begins with a full stop swaps the program's extension
// (".ini" beside prog.exe gives prog.ini, beside prog also prog.ini); a name without
// any separator lies in the program's folder; any other name is used as it stands. A
// path that does not fit a path buffer (kPathBufferSize) reads no file: the default.
// Returns the count of bytes copied into output, whose size is size bytes.
std::uint32_t ReadIniString(const char* section, const char* key, const char* defaultValue,
                            char* output, std::uint32_t size, const char* profileName);

// atof's reading of the number at the start of text (leading blanks skipped, hexadecimal
// forms such as "0x10" and "0x1p4" included), but with a full stop as decimal point
// whatever the user's locale: the programs run with the user's locale, while the texts
// they store and list always use the full stop. A text that is no number gives 0.0; a
// number too large for a double gives HUGE_VAL (with its sign) and one too small 0.0.
double ParseLeadingNumber(const char* text);

// The value of key as a number: defaultValue when the key, the file or the value is
// missing or empty; the leading number of the text otherwise, read as atof reads it
// (hexadecimal forms such as "0x10" and "0x1p4" included) but with a full stop as decimal
// point whatever the user's locale. A text that is no number gives 0.0; a number too
// large for a double gives HUGE_VAL (with its sign) and one too small 0.0, however long
// its exponent.
double ReadProfileDouble(const char* section, const char* key, double defaultValue,
                         const char* profileName);
