#pragma once

#include "platform/win/DesktopHooks.h"

// The real launcher behind ShellExecuteA for a program of ours when no hook is installed
// (qt/DesktopLaunch.cpp): a detached process.
bool StartDetachedProgram(const ProgramStart& start);
