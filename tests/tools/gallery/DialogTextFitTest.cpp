#include "platform/ui/TextFit.h"
#include "platform/ui/WindowPicture.h"
#include "support/TestMedia.h"
#include "tools/gallery/DialogGallery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(DialogGallery, EveryTextOfEveryDialogFitsItsControl)
{
    for (const DialogSnapshot& snapshot : DialogSnapshots()) {
        for (const DialogResource* dialog : snapshot.module->dialogs) {
            for (const std::string& misfit : TextsThatDoNotFit(*dialog))
                ADD_FAILURE() << snapshot.module->name << " dialog " << dialog->id << ": "
                              << misfit;
        }
    }
}

TEST(DialogGallery, TooLongATextIsCaught)
{
    constexpr ControlResource controls[] = {
        {1, ControlKind::Static, "A label far too long for its place", 0, 0, 30, 10},
        {2, ControlKind::Static, "Fits", 0, 12, 30, 10},
        {3, ControlKind::Button, "Icon caption not shown", 0, 24, 22, 20, BS_ICON},
    };
    const DialogResource dialog{9, "", 100, 50, WS_POPUP, 0, 0, controls};
    const auto misfits = TextsThatDoNotFit(dialog);
    ASSERT_EQ(misfits.size(), 1u);
    EXPECT_EQ(misfits[0].rfind("1 \"A label", 0), 0u);
}

TEST(DialogGallery, EverySnapshotIsDrawn)
{
    testmedia::TempFolder temporary;
    const std::filesystem::path folder = temporary.root();
    for (const DialogSnapshot& snapshot : DialogSnapshots()) {
        const SnapshotWindow window = MakeSnapshotWindow(snapshot);
        ASSERT_NE(window.frame, nullptr) << snapshot.name;
        const std::string path = (folder / (std::string(snapshot.name) + ".png")).string();
        EXPECT_TRUE(SaveWindowPicture(window.frame, path.c_str())) << snapshot.name;
        EXPECT_GT(std::filesystem::file_size(path), 1000u) << snapshot.name;
        DestroySnapshotWindow(snapshot, window);
    }
}
