#pragma once

#include "desktop/DesktopDriver.h"
#include "desktop/DesktopProgram.h"
#include "desktop/XServer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

namespace desktop {

// A project file's values by "Section/Key".
inline std::map<std::string, std::string> ProjectValues(const std::string& text)
{
    std::map<std::string, std::string> values;
    std::stringstream lines(text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 1 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (const std::size_t equals = line.find('='); equals != std::string::npos)
            values[section + "/" + line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

// Each test has an X server of its own, so that the tests run side by side; without one
// (no Xvfb or xdotool on the machine) they skip with the reason.
class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (server_.display().empty())
            GTEST_SKIP() << "no X server for the desktop tests: " << server_.why();
    }

    // Starts the program with the arguments and waits until its main dialog, titled
    // caption, shows and has the keys.
    void StartProgram(DesktopProgram& program, const std::string& caption,
                      const std::vector<std::string>& arguments = {})
    {
        ASSERT_TRUE(program.placed());
        ASSERT_TRUE(program.Start(server_.display(), arguments));
        main_ = driver_.AwaitWindow(caption);
        ASSERT_FALSE(main_.empty());
        ASSERT_TRUE(driver_.Focus(main_));
    }
    // Opens a menu of the main dialog's menu bar with a click on its title at menuX and,
    // once the menu shows, picks the item by its letter, so that the letter is the menu's
    // however late the program opens it.
    void ChooseFromMenu(int menuX, const std::string& letter) const
    {
        driver_.Click(main_, menuX, kMenuY);
        if (!driver_.AwaitMenu(main_)) {
            ADD_FAILURE() << "no menu showed for \"" << letter << "\"";
            return;
        }
        driver_.Press({letter});
    }
    void ChooseFromFileMenu(const std::string& letter) const { ChooseFromMenu(kFileMenuX, letter); }
    // True once the main dialog has the keys (again).
    bool MainHasTheKeys() const
    {
        return Eventually([&] { return driver_.HasFocus(main_); });
    }
    // Saves the project through "&File", "Save Project &As ...", the name typed into the
    // picker and Enter; the text of the file saved in folder once it holds lastKey
    // ("Section/Key"), the last key the program writes: the program writes the file key by
    // key, and may do so after its dialog has the keys again.
    std::string SaveAsTyped(const DesktopProgram& program, const std::string& folder,
                            const std::string& name, const std::string& lastKey) const
    {
        ChooseFromFileMenu("a");
        if (driver_.AwaitFocusedWindow("Save As").empty()) {
            ADD_FAILURE() << "no \"Save As\" picker showed";
            return {};
        }
        driver_.Type(name);
        driver_.Press({"Return"});
        EXPECT_TRUE(driver_.AwaitNoWindow("Save As"));
        std::string saved;
        EXPECT_TRUE(Eventually([&] {
            saved = program.Read(folder + "/" + name + ".avp");
            return ProjectValues(saved).contains(lastKey);
        })) << lastKey
            << " is missing from:\n"
            << saved;
        return saved;
    }
    // Where the menu bar's "&File" and "&Help" menus are inside a dialog.
    static constexpr int kFileMenuX = 18;
    static constexpr int kHelpMenuX = 52;
    static constexpr int kMenuY = 8;

    XServer server_;
    DesktopDriver driver_{server_.display()};
    // The program's main dialog.
    std::string main_;
};

struct Point {
    int x = 0;
    int y = 0;
};

// The middle of a control placed in dialog units (x, y, width, height), inside its
// top-level dialog, whose client area of clientHeightUnits lies below its menu bar. The
// server draws at 96 dots per inch: a unit is 6 / 4 pixels across and 13 / 8 down.
inline Point DialogPoint(const WindowGeometry& dialog, int clientHeightUnits, int x, int y,
                         int width, int height)
{
    const auto across = [](double units) { return static_cast<int>(std::lround(units * 6 / 4)); };
    const auto down = [](double units) { return static_cast<int>(std::lround(units * 13 / 8)); };
    const int menuBar = dialog.height - down(clientHeightUnits);
    return Point{across(x + width / 2.0), menuBar + down(y + height / 2.0)};
}

}  // namespace desktop
