#pragma once

#include "platform/win/DesktopHooks.h"

// The real launchers behind ShellExecuteA when no hook is installed: the desktop's
// default handler for an address or an existing path (qt/DesktopLaunch.cpp), and a
// detached process of our own, which gets its program, argument and folder byte for byte
// (DetachedProgram.cpp).
bool OpenWithDesktopHandler(const std::string& target);
bool StartDetachedProgram(const ProgramStart& start);
