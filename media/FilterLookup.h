#pragma once

#include "platform/dshow/DeviceEnum.h"
#include "platform/dshow/Graph.h"

// Lookups of DirectShow objects for the graph wrapper and the compressor lists: an
// installed filter of a device category by friendly name or by position, a filter's n-th
// pin of one direction, and the filter of a graph that ends a stream of one major type.
// Each call enumerates afresh; nothing is cached. User-interface thread, COM initialised.

// Size of the buffers in which friendly names travel: longer names are cut (at a
// character boundary) to fit with their terminator.
inline constexpr int kFriendlyNameLength = 260;

// The first device of the category whose friendly name equals name, ignoring the case of
// ASCII letters; null when none (or name is null) or binding fails for every match. The
// caller owns the returned reference.
IBaseFilter* FindFilterByName(CLSID category, const char* name);

// The device at position index (from 0) of the category's enumeration, null when the
// enumeration ends first. When name is given and the position exists, its friendly name
// is copied there (at most length bytes, terminator included, and at most
// kFriendlyNameLength), also when binding fails; past the end the buffer is untouched.
// The caller owns the returned reference.
IBaseFilter* FindFilterByIndex(CLSID category, char* name, int length, int index);

// The n-th pin (from 0) of the filter in the given direction, in the filter's pin order;
// null when there are not that many or filter is null. The pin carries no reference of
// its own: the filter keeps it alive and the caller does not release it.
IPin* GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n);

// The first filter of the graph, in enumeration order, with a first input pin, no output
// pin, and that input connected with a media type of the given major type; null when
// none or graph is null. No reference of its own, as with GetPin.
IBaseFilter* FindSinkFilterByMajorType(IFilterGraph* graph, GUID majorType);

// Converts UTF-16 text to UTF-8 into buffer (length bytes). Whole characters only: the
// text is cut at a character boundary so that a terminator always fits; unpaired
// surrogates become what WideToUtf8 (platform/text/Utf16.h) makes of them. False when
// buffer or text is null or length is below 1.
bool CopyWideAsNarrow(char* buffer, const WCHAR* text, int length);
