#pragma once

#include "platform/win/DesktopHooks.h"

// The real launcher behind ShellExecuteA for a program of ours when no hook is installed:
// a detached process, which gets its program, argument and folder byte for byte
// (DetachedProgram.cpp).
bool StartDetachedProgram(const ProgramStart& start);
