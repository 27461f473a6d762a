#include "desktop/DesktopDriver.h"

#include "desktop/ChildProcess.h"
#include "support/WaitUntil.h"

#include <xcb/xcb.h>

#include <cstring>
#include <sstream>

namespace desktop {

namespace {

// Most looks start xdotool, which is no thing to do in a tight loop.
constexpr int kPollMs = 50;

std::string TitlePattern(const std::string& title)
{
    std::string pattern = "^";
    for (char c : title) {
        if (std::strchr(".^$*+?()[]{}|\\", c))
            pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
}

// The window that window is placed for (its WM_TRANSIENT_FOR); none when it has none.
xcb_window_t TransientFor(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    xcb_window_t owner = XCB_WINDOW_NONE;
    if (property && xcb_get_property_value_length(property) >= 4)
        owner = *static_cast<const xcb_window_t*>(xcb_get_property_value(property));
    free(property);
    return owner;
}

// Whether a menu of owner shows now: a window that a person sees, placed for owner, that
// the window manager is to leave alone, as pop-ups are (a program's dialogs and pickers
// are framed windows). The type a menu's window states cannot tell: a menu shown again
// may call itself a normal window.
bool MenuShows(xcb_connection_t* connection, xcb_window_t owner)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    bool shows = false;
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !shows; ++i) {
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                connection, xcb_get_window_attributes(connection, children[i]), nullptr);
            shows = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                    attributes->override_redirect && TransientFor(connection, children[i]) == owner;
            free(attributes);
        }
    }
    free(tree);
    return shows;
}

}  // namespace

bool Eventually(const std::function<bool()>& test)
{
    return testmedia::WaitUntil(test, testmedia::kPatienceMs, kPollMs);
}

std::vector<std::string> DesktopDriver::Xdotool(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const CommandResult result = RunCommand(argv, {"DISPLAY=" + display_});
    std::vector<std::string> lines;
    std::stringstream output(result.output);
    std::string line;
    while (std::getline(output, line)) {
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

std::string DesktopDriver::AwaitWindow(const std::string& title, const std::string& besides) const
{
    std::string found;
    Eventually([&] {
        for (const std::string& window : Windows(title)) {
            if (window != besides)
                found = window;
        }
        return !found.empty();
    });
    return found;
}

std::string DesktopDriver::AwaitFocusedWindow(const std::string& title,
                                              const std::string& besides) const
{
    const std::string window = AwaitWindow(title, besides);
    return !window.empty() && Eventually([&] { return HasFocus(window); }) ? window : std::string();
}

bool DesktopDriver::AwaitNoWindow(const std::string& title, const std::string& besides) const
{
    return Eventually([&] {
        const std::vector<std::string> found = Windows(title);
        return found.empty() || (found.size() == 1 && found.front() == besides);
    });
}

std::vector<std::string> DesktopDriver::Windows(const std::string& title) const
{
    return Xdotool({"search", "--onlyvisible", "--name", TitlePattern(title)});
}

bool DesktopDriver::AwaitMenu(const std::string& owner) const
{
    xcb_connection_t* connection = xcb_connect(display_.c_str(), nullptr);
    const auto window = static_cast<xcb_window_t>(std::stoul(owner));
    const bool shows = !xcb_connection_has_error(connection) &&
                       Eventually([&] { return MenuShows(connection, window); });
    xcb_disconnect(connection);
    return shows;
}

bool DesktopDriver::Focus(const std::string& window) const
{
    Xdotool({"windowfocus", window});
    return Eventually([&] { return HasFocus(window); });
}

bool DesktopDriver::HasFocus(const std::string& window) const
{
    const std::vector<std::string> focused = Xdotool({"getwindowfocus"});
    return !focused.empty() && focused.front() == window;
}

void DesktopDriver::Press(const std::vector<std::string>& keys) const
{
    std::vector<std::string> arguments = {"key", "--delay", "100"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    Xdotool(arguments);
}

void DesktopDriver::Type(const std::string& text) const
{
    Xdotool({"type", "--delay", "50", text});
}

void DesktopDriver::Click(const std::string& window, int x, int y) const
{
    Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
}

WindowGeometry DesktopDriver::Geometry(const std::string& window) const
{
    WindowGeometry geometry;
    for (const std::string& line : Xdotool({"getwindowgeometry", "--shell", window})) {
        const std::size_t equals = line.find('=');
        const std::string name = line.substr(0, equals);
        const int value = equals == std::string::npos ? 0 : std::atoi(line.c_str() + equals + 1);
        if (name == "X")
            geometry.x = value;
        else if (name == "Y")
            geometry.y = value;
        else if (name == "WIDTH")
            geometry.width = value;
        else if (name == "HEIGHT")
            geometry.height = value;
    }
    return geometry;
}

long DesktopDriver::Pixel(const std::string& window, int x, int y) const
{
    xcb_connection_t* connection = xcb_connect(display_.c_str(), nullptr);
    long colour = -1;
    if (!xcb_connection_has_error(connection)) {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP,
                          static_cast<xcb_drawable_t>(std::stoul(window)), static_cast<int16_t>(x),
                          static_cast<int16_t>(y), 1, 1, ~0u),
            nullptr);
        // The test server's screens are 24 bits deep, stored as 32-bit pixels B, G, R, X.
        if (image && xcb_get_image_data_length(image) >= 4) {
            const uint8_t* bytes = xcb_get_image_data(image);
            colour = (long{bytes[2]} << 16) | (long{bytes[1]} << 8) | bytes[0];
        }
        free(image);
    }
    xcb_disconnect(connection);
    return colour;
}

bool DesktopDriver::Close(const std::string& window) const
{
    xcb_connection_t* connection = xcb_connect(display_.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(std::stoul(window));
    event.type = Atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_send_event_checked(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                                           reinterpret_cast<const char*>(&event)));
    const bool sent = !error && event.type != XCB_ATOM_NONE;
    free(error);
    xcb_disconnect(connection);
    return sent;
}

}  // namespace desktop
