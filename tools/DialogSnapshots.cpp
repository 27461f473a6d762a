// dialog_snapshots OUTDIR: draws every dialog of the programs from its resource, without
// a display, into OUTDIR/<name>.png, so that each can be looked at.

#include "platform/ui/WindowPicture.h"
#include "platform/win/Application.h"
#include "tools/gallery/DialogGallery.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialog_snapshots OUTDIR\n");
        return 2;
    }
    // Offscreen unless the caller chose a platform: the pictures need no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureApplication();
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    int failures = 0;
    for (const DialogSnapshot& snapshot : DialogSnapshots()) {
        const std::string path =
            (std::filesystem::path(argv[1]) / (std::string(snapshot.name) + ".png")).string();
        const SnapshotWindow window = MakeSnapshotWindow(snapshot);
        if (!window.frame || !SaveWindowPicture(window.frame, path.c_str())) {
            std::fprintf(stderr, "dialog_snapshots: %s: could not be drawn into %s\n",
                         snapshot.name, path.c_str());
            ++failures;
        } else {
            std::printf("%s\n", path.c_str());
        }
        DestroySnapshotWindow(snapshot, window);
    }
    EndApplication();
    return failures == 0 ? 0 : 1;
}
