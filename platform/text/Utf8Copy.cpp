#include "platform/text/Utf8Copy.h"

#include "platform/text/Utf16.h"

#include <cstring>

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    // A character is at most four bytes long, so only one that starts in the last three
    // bytes kept can run past them. Starting there may land inside a character that began
    // earlier and ends in time: its continuation bytes are taken one by one, as bytes of
    // no valid sequence are.
    std::size_t start = maxBytes > 3 ? maxBytes - 3 : 0;
    while (start < maxBytes) {
        const std::size_t end = start + Utf8CharacterLength(text, start);
        if (end > maxBytes)
            return start;
        start = end;
    }
    return maxBytes;
}

std::size_t CopyTextCut(char* buffer, std::size_t size, std::string_view text)
{
    if (size == 0)
        return 0;
    const std::size_t length = Utf8PrefixLength(text, size - 1);
    std::memmove(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}
