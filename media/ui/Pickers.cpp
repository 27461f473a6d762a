#include "media/ui/Pickers.h"

#include "media/PathUtils.h"
#include "platform/text/Utf8Copy.h"
#include "platform/ui/Resources.h"

bool ChooseFile(HWND owner, const char* title, const char* initialFolder, const char* filter,
                const char* defaultExtension, char* file, std::size_t size, DWORD flags)
{
    if (!file || size == 0)
        return false;
    char folder[kPathBufferSize] = {};
    if (initialFolder)
        CopyTextCut(folder, sizeof folder, initialFolder);
    else
        GetModuleDirectory(folder, sizeof folder);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = GetResourceModule();
    request.lpstrFilter = filter ? filter : "";
    request.lpstrFile = file;
    request.nMaxFile = static_cast<DWORD>(std::min<std::size_t>(size, 0xFFFFFFFFu));
    request.lpstrInitialDir = folder;
    request.lpstrTitle = title;
    request.Flags = flags | OFN_HIDEREADONLY;
    request.lpstrDefExt = defaultExtension;
    return GetOpenFileNameA(&request) != FALSE;
}

bool ChooseFolder(HWND owner, char* path)
{
    if (!path)
        return false;
    char displayName[kPathBufferSize] = {};
    BROWSEINFOA request{};
    request.hwndOwner = owner;
    request.pszDisplayName = displayName;
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = &BrowseFolderCallback;
    request.lParam = reinterpret_cast<LPARAM>(path);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&request);
    if (!chosen)
        return false;
    const bool found = SHGetPathFromIDListA(chosen, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(chosen);
        allocator->Release();
    }
    return found;
}

int BrowseFolderCallback(HWND browser, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}
