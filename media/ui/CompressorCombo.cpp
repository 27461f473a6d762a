#include "media/ui/CompressorCombo.h"

#include "media/FilterLookup.h"
#include "platform/ui/WindowServices.h"

void FillCompressorCombo(HWND list, const CLSID& category)
{
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoCompression));
    for (int index = 0;; ++index) {
        char name[kFriendlyNameLength] = {};
        IBaseFilter* filter = FindFilterByIndex(category, name, sizeof name, index);
        if (filter) {
            filter->Release();
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        } else if (name[0] == '\0') {
            break;
        }
    }
}

void RemoveCompressorsBeginningWith(HWND list, const char* prefix)
{
    const auto text = reinterpret_cast<LPARAM>(prefix);
    for (LRESULT found;
         (found = SendMessageA(list, CB_FINDSTRING, static_cast<WPARAM>(-1), text)) != CB_ERR;)
        SendMessageA(list, CB_DELETESTRING, static_cast<WPARAM>(found), 0);
}
