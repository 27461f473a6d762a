#include "platform/text/Utf8Copy.h"

#include <cstring>

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t length = maxBytes;
    // text[length] is the first byte left out; when it continues a character, the
    // character's lead byte and the rest before it go too.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
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
