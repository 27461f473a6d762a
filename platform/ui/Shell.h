#pragma once

#include "platform/ui/UiTypes.h"

// Handing files, folders and web addresses to the desktop, and starting our own programs.
// User-interface thread. What is launched goes through the desktop hooks
// (platform/win/DesktopHooks.h), so tests see every launch and start nothing.
//
// ShellExecuteA answers a number above 32 on success and one of the codes below on
// failure (as an INT_PTR; callers compare it with 32):
// - a file handed over with parameters (even empty ones; documents get null) that is an
//   executable file, such as the program "Gresmont" beside the caller, starts as a
//   process of its own with parameters as its one argument (none when empty) in
//   directory (the caller's folder when null or empty), never through a shell command
//   line; the verb does not matter. Any other file is a document, even when it is
//   executable: documents are handed to the desktop, never run.
// - "open" (or a null verb) on a web address ("http:", "https:", "mailto:") or on an
//   existing file or folder hands it to the desktop's opener (DesktopOpener.h). A file
//   that does not exist answers SE_ERR_FNF, or SE_ERR_PNF when its folder is missing too;
//   the existence check comes first, since the desktop reports failures only later. When
//   no opener can be run, or it fails at once (it knows no program for the target), the
//   answer is SE_ERR_NOASSOC, so that callers tell the user.
// - any other verb ("edit", "play", ...) answers SE_ERR_NOASSOC: the desktop knows no
//   such verbs, so callers fall back to "open" as they do where one is not registered.
// Paths may use either separator; relative ones are taken against the current folder.
inline constexpr INT_PTR SE_ERR_FNF = 2;
inline constexpr INT_PTR SE_ERR_PNF = 3;
inline constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;
inline constexpr INT_PTR SE_ERR_NOASSOC = 31;
INT_PTR ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                      int show);

// Files dropped onto a window whose style has WS_EX_ACCEPTFILES: the window gets
// WM_DROPFILES with the drop in wParam, sent while the drop happens. The receiver reads
// it and releases it with DragFinish; an unhandled drop is released by the window.
struct DropObject;
using HDROP = DropObject*;

// index 0xFFFFFFFF: the number of files. buffer null: the length of the index-th path
// (without terminator). Otherwise copies the path with its terminator and answers its
// length; a path that does not fit size bytes whole is refused: the buffer gets an empty
// text (when size > 0) and the answer is 0, so no caller ever sees a cut path naming
// another file.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size);
void DragFinish(HDROP drop);
