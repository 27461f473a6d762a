#include "platform/text/HeapText.h"

#include <cstring>

void ReplaceHeapText(char*& slot, const char* text)
{
    delete[] slot;
    slot = nullptr;
    if (!text)
        return;
    const std::size_t size = std::strlen(text) + 1;
    slot = new char[size];
    std::memcpy(slot, text, size);
}
