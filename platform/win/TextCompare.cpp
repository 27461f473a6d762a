#include "platform/win/TextCompare.h"

#include "platform/text/NoCase.h"

int lstrcmpiA(const char* first, const char* second)
{
    return CompareNoCase(first ? first : "", second ? second : "");
}
