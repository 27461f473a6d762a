#pragma once

#include "platform/com/Result.h"
#include "platform/com/WinTypes.h"

// COM's text is UTF-16; on this platform the "ANSI code page" is UTF-8. Our own code
// converts with platform/text/Utf16.h.
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using LPSTR = char*;
using LPCSTR = const char*;

// A length-prefixed, zero-terminated UTF-16 string from the COM allocator.
using BSTR = OLECHAR*;

// Null for a null text or when memory runs out; the caller frees with SysFreeString.
BSTR SysAllocString(LPCOLESTR text);
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;

// Both code pages mean UTF-8. byteCount (or charCount) -1 converts up to and including the
// terminator. With an output size of 0 the result is the size needed; otherwise the
// number of units written, 0 when the output is too small or an argument is null.
// Bytes that are no valid UTF-8 survive the round trip as platform/text/Utf16.h says.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int byteCount, LPWSTR out,
                        int outChars);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int charCount, LPSTR out,
                        int outBytes, LPCSTR defaultChar, BOOL* usedDefault);
