#include "platform/ui/FolderBrowser.h"

#include "platform/text/Utf8Copy.h"
#include "platform/ui/qt/ModalOwner.h"
#include "platform/ui/qt/UiWindow.h"
#include "platform/win/DesktopHooks.h"

#include <QFileDialog>

#include <cstring>

struct ITEMIDLIST {
    std::string path;
};

namespace {

// The browser's window while its callback runs: it takes the folder to open on.
class BrowserWindow : public WindowProcedure {
public:
    LRESULT WindowProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == BFFM_SETSELECTIONA && wParam && lParam)
            selection = reinterpret_cast<const char*>(lParam);
        return 0;
    }
    std::string selection;
};

std::optional<std::string> RunBrowser(const FolderPickCall& call)
{
    const ModalOwner owner(call.owner);
    const QString chosen = QFileDialog::getExistingDirectory(
        owner.widget(), FromUtf8(call.title), FromUtf8(call.startFolder),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return std::nullopt;
    return ToUtf8(chosen);
}

// Frees the item lists SHBrowseForFolderA hands out; a static object without counting.
class ShellAllocator : public IMalloc {
public:
    HRESULT QueryInterface(REFIID, void** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    void Free(void* block) override { delete static_cast<ITEMIDLIST*>(block); }
};

}  // namespace

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* request)
{
    if (!request)
        return nullptr;
    BrowserWindow browser;
    const HWND handle = CreateWindowHandle(&browser);
    DispatchScope scope;
    if (request->lpfn)
        request->lpfn(handle, BFFM_INITIALIZED, 0, request->lParam);
    DestroyWindowHandle(handle);
    const FolderPickCall call{request->hwndOwner, request->lpszTitle ? request->lpszTitle : "",
                              browser.selection};
    const auto& hook = CurrentDesktopHooks().pickFolder;
    std::optional<std::string> chosen = hook ? hook(call) : RunBrowser(call);
    if (!chosen)
        return nullptr;
    if (request->pszDisplayName) {
        const std::size_t name = chosen->find_last_of("\\/");
        CopyTextCut(request->pszDisplayName, MAX_PATH,
                    name == std::string::npos ? *chosen : chosen->substr(name + 1));
    }
    return new ITEMIDLIST{std::move(*chosen)};
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR buffer)
{
    if (!item || !buffer || item->path.empty() || item->path.size() + 1 > MAX_PATH)
        return FALSE;
    std::memcpy(buffer, item->path.c_str(), item->path.size() + 1);
    return TRUE;
}

HRESULT SHGetMalloc(IMalloc** allocator)
{
    static ShellAllocator shell;
    if (!allocator)
        return E_POINTER;
    *allocator = &shell;
    return S_OK;
}
