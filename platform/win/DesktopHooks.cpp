#include "platform/win/DesktopHooks.h"

namespace {

DesktopHooks& Hooks()
{
    static DesktopHooks hooks;
    return hooks;
}

}  // namespace

const DesktopHooks& CurrentDesktopHooks()
{
    return Hooks();
}

void InstallDesktopHooks(DesktopHooks hooks)
{
    Hooks() = std::move(hooks);
}

void ResetDesktopHooks()
{
    Hooks() = DesktopHooks{};
}
