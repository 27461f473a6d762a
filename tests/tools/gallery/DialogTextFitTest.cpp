#include "platform/ui/TextFit.h"
#include "platform/ui/WindowPicture.h"
#include "support/ProgramFolder.h"
#include "support/TestMedia.h"
#include "tools/gallery/DialogGallery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// The gallery run as from a program folder of the test's own: Tavrino's main dialog then
// shows the sample project placed there as the build made it, and neither reads nor
// rewrites the recent project a person's run left beside the built programs.
class DialogGallery : public testmedia::ProgramFolderTest {
protected:
    DialogGallery() : ProgramFolderTest("dialog_snapshots") {}
};

}  // namespace

TEST_F(DialogGallery, EveryTextOfEveryDialogFitsItsControl)
{
    for (const DialogSnapshot& snapshot : DialogSnapshots()) {
        for (const DialogResource* dialog : snapshot.module->dialogs) {
            for (const std::string& misfit : TextsThatDoNotFit(*dialog))
                ADD_FAILURE() << snapshot.module->name << " dialog " << dialog->id << ": "
                              << misfit;
        }
    }
}

TEST_F(DialogGallery, TooLongATextIsCaught)
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

TEST_F(DialogGallery, EverySnapshotIsDrawn)
{
    ASSERT_TRUE(testmedia::PlaceShippedFolders(testmedia::kShippedFolders, dir_));
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
