#pragma once

#include "platform/win/Window.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the programs ask of a person or of the desktop, in one place, so that every
// dialog test runs headless: a test installs answers (and records the questions), and
// production code never knows. An empty hook means the real thing: a Qt message box or
// picker, the desktop's opener, a real process, a real picture window, the compressors
// that the linked FFmpeg offers. The calls reach the hooks on the user-interface thread,
// except the two compressor hooks, which any thread may read.

struct MessageBoxCall {
    HWND owner;
    std::string text;     // as given, "\r\n" included
    std::string caption;  // the executable's base name when none was given
    UINT type;
};

struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;  // "*.bmp", "*.jpg"
};

struct FilePickCall {
    HWND owner;
    std::string title;
    std::string initialFolder;
    std::string initialName;  // the buffer's text on entry
    std::vector<FileFilter> filters;
    std::string defaultExtension;
    bool mustExist;
};

struct FolderPickCall {
    HWND owner;
    std::string title;
    std::string startFolder;  // as the browse callback selected it; empty when it did not
};

// A process of our own: program is the executable's full path, argument the one
// argument given (none when empty), folder the working folder.
struct ProgramStart {
    std::string program;
    std::string argument;
    std::string folder;
};

enum class PictureWindowAction { Open, Show, Destroy };
struct PictureWindowCall {
    PictureWindowAction action;
    std::string name;
    int width;  // of the picture shown; 0 otherwise
    int height;
};

enum class CompressorCategory { Audio, Video };

struct DesktopHooks {
    // Answers the button pressed.
    std::function<int(const MessageBoxCall&)> messageBox;
    // Answers the chosen path, or nothing for Cancel.
    std::function<std::optional<std::string>(const FilePickCall&)> pickFile;
    std::function<std::optional<std::string>(const FolderPickCall&)> pickFolder;
    // A web address, or the full path of an existing file or folder, for the desktop's
    // default handler; answers whether it was handed over.
    std::function<bool(const std::string& target)> openWithDesktop;
    // Answers whether the process started.
    std::function<bool(const ProgramStart&)> startProgram;
    // Told each picture window call instead of showing a window; the open names are
    // kept by the layer either way.
    std::function<void(const PictureWindowCall&)> pictureWindow;
    // The friendly names of the installed compressors of a category, in order.
    std::function<std::vector<std::string>(CompressorCategory)> compressors;
    // Whether a listed compressor can be made into a filter: false stands for a broken
    // installation, listed by the desktop but failing when bound. Empty: every one can.
    std::function<bool(CompressorCategory, const std::string& friendlyName)> compressorCreatable;
};

// The hooks in force; all empty until InstallDesktopHooks.
const DesktopHooks& CurrentDesktopHooks();
// User-interface thread, while no other thread reads the compressor hooks.
void InstallDesktopHooks(DesktopHooks hooks);
void ResetDesktopHooks();
