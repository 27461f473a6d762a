#include "media/ui/PathField.h"

#include "media/PathUtils.h"
#include "platform/text/Utf8Copy.h"
#include "platform/ui/WindowServices.h"

#include <cstring>

std::string PathFieldText(HWND dialog, int id)
{
    char text[kPathReadSize];
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return std::strlen(text) < kPathBufferSize ? text : "";
}

void ReadResolvedPathField(HWND dialog, int id, char* path)
{
    CopyTextCut(path, kPathBufferSize, PathFieldText(dialog, id));
    ResolveWholePath(path, kPathBufferSize);
}
