#pragma once

#include "platform/ui/UiTypes.h"

// Handing the user's files, folders and the maker's page to the desktop, and telling the
// user when it opens nothing. User-interface thread.

// Tells the user in one message box with only an OK button, owned by owner and captioned
// with the application's name: "Cannot <verb> the <kind>:\r\n\r\n  <target>\r\n\r\nNo
// <tool> or invalid <kind>", as in "Cannot play the file: ... No Audio Player or invalid
// file". Answers the box's result.
int TellCannotOpen(HWND owner, const char* verb, const char* kind, const char* target,
                   const char* tool);

// Hands target to the shell with verb and, when that fails and verb is another, with
// "open" (the desktop knows few verbs); when neither works, TellCannotOpen. Answers the
// shell's result (above 32) or the message box's; a blank target opens nothing, says
// nothing and answers 0.
INT_PTR OpenOrTell(HWND owner, const char* verb, const char* kind, const char* target,
                   const char* tool);

// Hands folder to the shell with "open". True when that is done with: the folder opened,
// or it is there but nothing on the desktop opens it, which TellCannotOpen says once
// (another folder would fare no better); false when no such folder can be found, so that
// the caller may offer another.
bool OpenFolderOrTell(HWND owner, const char* folder);
