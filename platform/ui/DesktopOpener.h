#pragma once

#include <string>

// The desktop's opener behind ShellExecuteA's "open" when no hook is installed: hands a
// web address or the full path of an existing file or folder to xdg-open (Debian's
// xdg-utils), found on PATH, which every Linux desktop answers with its default program.
// True when the opener runs and has not failed within a short wait (about a second);
// false when there is no opener or it fails at once, as it does when it finds no program
// for the target. An opener still running after the wait counts as handed over: outside
// the large desktops it runs the program it chose until that program ends. It is then
// left to end on its own. User-interface thread.
bool OpenWithDesktopHandler(const std::string& target);
