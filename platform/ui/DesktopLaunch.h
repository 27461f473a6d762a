#pragma once

#include "platform/win/DesktopHooks.h"

// The real launcher behind ShellExecuteA for a program of ours when no hook is installed:
// a child of its own session that nobody waits for, which gets its program, argument and
// folder byte for byte (ChildProgram.h). False when the program or its folder cannot be
// used.
bool StartDetachedProgram(const ProgramStart& start);
