#pragma once

#include <string>

// The running executable's base name (its file name without folder and extension), the
// name the programs show where no caption is given. Any thread.
std::string ProgramBaseName();

// The running executable's folder, without a closing separator. Any thread.
std::string ProgramFolder();
