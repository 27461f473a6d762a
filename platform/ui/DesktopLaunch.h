#pragma once

#include "platform/win/DesktopHooks.h"

// The real launchers behind ShellExecuteA when no hook is installed (qt/DesktopLaunch.cpp):
// the desktop's default handler for an address or an existing path, and a detached
// process of our own.
bool OpenWithDesktopHandler(const std::string& target);
bool StartDetachedProgram(const ProgramStart& start);
