#pragma once

#include <functional>
#include <string>
#include <vector>

namespace desktop {

// Repeats the test until it holds (true) or the patience of every wait here is spent
// (false).
bool Eventually(const std::function<bool()>& test);

// A window on the X server, as its position and size on the screen.
struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Keys and clicks as a person gives them, through the X server's test extension
// (xdotool), and the windows a person sees, found by their titles. Everything waits, up to
// a patience, for what it looks for, since the programs answer asynchronously.
class DesktopDriver {
public:
    explicit DesktopDriver(std::string display) : display_(std::move(display)) {}

    // The id of a visible window titled exactly title, other than besides, once there is
    // one; empty when none showed within the patience.
    std::string AwaitWindow(const std::string& title, const std::string& besides = {}) const;
    // AwaitWindow, and then until that window has the keyboard focus, as a person waits
    // for a dialog to be ready before typing into it; empty when either did not happen.
    std::string AwaitFocusedWindow(const std::string& title, const std::string& besides = {}) const;
    // True once no visible window other than besides has that title (within the patience).
    bool AwaitNoWindow(const std::string& title, const std::string& besides = {}) const;
    // The visible windows titled exactly title, now.
    std::vector<std::string> Windows(const std::string& title) const;
    // True once a menu of the window shows (a drop-down of its menu bar, a pop-up menu),
    // which then takes the keys; false when none showed within the patience.
    bool AwaitMenu(const std::string& owner) const;

    // Gives the window the keyboard focus, as a click on its title bar would; true once it
    // has it.
    bool Focus(const std::string& window) const;
    // True when the window has the keyboard focus now.
    bool HasFocus(const std::string& window) const;
    // Presses the keys one after the other ("Escape", "Return", "alt+b", "Tab").
    void Press(const std::vector<std::string>& keys) const;
    // Types the text into whatever has the focus.
    void Type(const std::string& text) const;
    // Clicks the left button at x, y inside the window.
    void Click(const std::string& window, int x, int y) const;
    WindowGeometry Geometry(const std::string& window) const;
    // The colour (0xRRGGBB) shown at x, y inside the window; -1 when it cannot be read.
    long Pixel(const std::string& window, int x, int y) const;
    // Asks the window to close as its close box does (the window manager's
    // WM_DELETE_WINDOW message); false when the request could not be sent.
    bool Close(const std::string& window) const;

private:
    std::vector<std::string> Xdotool(const std::vector<std::string>& arguments) const;

    std::string display_;
};

}  // namespace desktop
