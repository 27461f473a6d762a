#include "platform/ui/DesktopLaunch.h"

#include "platform/ui/ChildProgram.h"

#include <string>
#include <vector>

// Started through the layer's own starter rather than Qt's process class, which turns the
// program, its argument and its folder into text and back: a path whose bytes are no
// UTF-8 (a template named in Latin-1) would reach the program as another name.
bool StartDetachedProgram(const ProgramStart& start)
{
    std::vector<std::string> arguments{start.program};
    if (!start.argument.empty())
        arguments.push_back(start.argument);
    const pid_t program = StartChildProgram(arguments, start.folder, ProgramLookup::ExactPath);
    CollectWhenEnded(program);
    return program > 0;
}
