#pragma once

// Named picture windows, in place of the image library's highgui windows. User-interface
// thread. Each is a top-level window titled with its name that shows one picture pixel
// for pixel, sized to it. The calls go through the desktop hooks
// (platform/win/DesktopHooks.h), so tests see what would show.

inline constexpr int CV_WINDOW_AUTOSIZE = 1;

// Opens the window of that name unless it is open already; answers 1.
int cvNamedWindow(const char* name, int flags = CV_WINDOW_AUTOSIZE);
void cvDestroyWindow(const char* name);
void cvDestroyAllWindows();

// An 8-bit picture of 1 or 3 channels (blue, green, red), rows step bytes apart, stored
// top-down or bottom-up. Borrowed for the call only.
struct PictureView {
    int width;
    int height;
    int channels;
    int step;
    const unsigned char* pixels;
    bool bottomUp;
};

// Shows the picture in the window of that name, which takes the picture's size; a name
// without an open window shows nothing. A picture that is not 8-bit 1 or 3 channels
// shows nothing either.
void ShowPicture(const char* name, const PictureView& picture);

// Whether a window of that name is open.
bool IsPictureWindowOpen(const char* name);
