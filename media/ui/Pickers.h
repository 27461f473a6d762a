#pragma once

#include "platform/ui/FileDialogs.h"
#include "platform/ui/FolderBrowser.h"

#include <cstddef>

// The file and folder pickers both programs use. Paths are UTF-8 text in which a
// backslash and a slash both separate folders. User-interface thread.

// The file-open picker: title, the folder it starts in (null: the program's folder), a
// filter list of description and pattern pairs (null: every file), a default extension
// (null: none), the file buffer (in: the name it starts with; out: the chosen path) and
// its size, and the OFN_ flags (OFN_HIDEREADONLY is always added; OFN_FILEMUSTEXIST
// refuses new names). True when the user chose a file, whose path is then in file; a
// path that does not fit the buffer is refused and the buffer keeps its text.
bool ChooseFile(HWND owner, const char* title, const char* initialFolder, const char* filter,
                const char* defaultExtension, char* file, std::size_t size, DWORD flags);

// The folder browser, opening on the folder in path (a buffer of at least 260 bytes).
// True when the user chose a folder, whose path is then in path; a cancel, or a folder
// whose path does not fit 260 bytes, leaves path as it was.
bool ChooseFolder(HWND owner, char* path);

// The browser's callback: on BFFM_INITIALIZED selects the folder whose path data points
// at; other messages are ignored. Answers 0.
int BrowseFolderCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data);
