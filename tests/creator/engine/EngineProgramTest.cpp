#include <gtest/gtest.h>

#include <link.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> LoadedLibraries()
{
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* list) {
            static_cast<std::vector<std::string>*>(list)->emplace_back(info->dlpi_name);
            return 0;
        },
        &names);
    return names;
}

}  // namespace

// The engine runs under the QCoreApplication that platform_core makes, without any
// part of Qt that draws; a program that needs widgets links the user-interface layer.
TEST(EngineProgram, LoadsQtCoreButNeitherQtGuiNorQtWidgets)
{
    bool core = false;
    for (const std::string& name : LoadedLibraries()) {
        core = core || name.find("libQt6Core.so") != std::string::npos;
        EXPECT_EQ(name.find("libQt6Gui.so"), std::string::npos) << name;
        EXPECT_EQ(name.find("libQt6Widgets.so"), std::string::npos) << name;
    }
    EXPECT_TRUE(core);
}
