// Gresmont on a real X server, driven by keys and clicks, with the desktop's own pickers
// and message boxes.

#include "desktop/DesktopTest.h"

#include <filesystem>

namespace {

using namespace desktop;
namespace fs = std::filesystem;

constexpr char kCaption[] = "Gresmont";
constexpr int kClientHeightUnits = 221;
constexpr int kTemplateFrames = 48;

class DesktopGresmont : public DesktopTest {
protected:
    // The program started in its folder (beside the sample template), its main dialog
    // shown and focused.
    void StartGresmont(const std::vector<std::string>& arguments = {})
    {
        StartProgram(program_, kCaption, arguments);
    }
    // Started on the sample template, which it counts first; the keys come once Start
    // shows in colour, as a person waits for it.
    void StartOnTheTemplate()
    {
        StartGresmont({(program_.folder() / "VideoTemplate" / "Dancer.avi").string()});
        const Point start =
            DialogPoint(driver_.Geometry(main_), kClientHeightUnits, 191, 185, 22, 20);
        // Left of the white arrow lies the green of the icon, grey while Start is disabled.
        const auto green = [&] {
            const long colour = driver_.Pixel(main_, start.x - 8, start.y);
            return colour >= 0 && ((colour >> 8) & 0xFF) > ((colour >> 16) & 0xFF) + 60;
        };
        ASSERT_TRUE(Eventually(green));
    }
    int Bitmaps() const
    {
        std::error_code error;
        int count = 0;
        for (const auto& entry :
             fs::directory_iterator(program_.folder() / "VideoTemplateImages", error))
            count += entry.path().extension() == ".bmp";
        return count;
    }
    // Where the tab row begins inside the dialog: below the menu bar and the tab
    // control's two units.
    int TabRow() const
    {
        const WindowGeometry dialog = driver_.Geometry(main_);
        return dialog.height - static_cast<int>(std::lround(kClientHeightUnits * 13 / 8.0)) + 3;
    }
    // Both pages' values as a new start gives them, beside the selected tab.
    static void ExpectEveryPageValue(const std::string& saved)
    {
        const auto values = ProjectValues(saved);
        EXPECT_EQ(values.size(), 12u) << saved;
        const std::map<std::string, std::string> expected = {
            {"Tab/Tab", "0"},
            {"AVI to Files/FirstFile", "00000.bmp"},
            {"AVI to Files/FileStep", "10"},
            {"Files to AVI/FirstFile", "00000.bmp"},
            {"Files to AVI/LastFile", "00000.bmp"},
            {"Files to AVI/FileStep", "10"},
            {"Files to AVI/FrameRate", "2.00 frame/sec"},
            {"Files to AVI/VideoCompression", "(No Compression)"}};
        for (const auto& [key, value] : expected) {
            const auto found = values.find(key);
            EXPECT_TRUE(found != values.end() && found->second == value)
                << key << "=" << value << " is missing from:\n"
                << saved;
        }
        for (const char* folder : {"AVI to Files/Folder", "Files to AVI/Folder"}) {
            const auto found = values.find(folder);
            EXPECT_TRUE(found != values.end() && found->second.ends_with("VideoTemplateImages"))
                << folder << " is missing from:\n"
                << saved;
        }
    }

    // The files page's preview shows, to the right of the main dialog or below it. A
    // preview opened while the program starts takes its place once the dialog shows.
    void ExpectThePreviewBesideTheDialog() const
    {
        const std::string preview = driver_.AwaitWindow("Files to AVI");
        ASSERT_FALSE(preview.empty());
        WindowGeometry dialog;
        WindowGeometry picture;
        const bool apart = Eventually([&] {
            dialog = driver_.Geometry(main_);
            picture = driver_.Geometry(preview);
            return picture.x >= dialog.x + dialog.width || picture.y >= dialog.y + dialog.height;
        });
        EXPECT_TRUE(apart) << "picture at " << picture.x << ", " << picture.y << ", dialog at "
                           << dialog.x << ", " << dialog.y << ", " << dialog.width << " x "
                           << dialog.height;
    }

    DesktopProgram program_{"Gresmont", {"VideoTemplate"}};
};

TEST_F(DesktopGresmont, SpaceRightAfterTheStartConvertsTheTemplateAndThePreviewOpensBesideIt)
{
    StartOnTheTemplate();
    driver_.Press({"space"});
    EXPECT_TRUE(Eventually([&] { return Bitmaps() == kTemplateFrames; })) << Bitmaps();

    // The files page shows its first bitmap in a picture window of its own, which leaves
    // the dialog's buttons free.
    driver_.Click(main_, 120, TabRow() + 11);
    ExpectThePreviewBesideTheDialog();

    ASSERT_TRUE(driver_.Focus(main_));
    driver_.Press({"Escape"});
    EXPECT_EQ(program_.AwaitExit(), 0);
}

TEST_F(DesktopGresmont, TheSelectedTabOpensOntoThePageWithoutAStripRunningIntoIt)
{
    StartGresmont();
    // A little below the tab row, under the selected first tab and where no tab is.
    const int below = TabRow() + 30;
    ASSERT_TRUE(Eventually([&] { return driver_.Pixel(main_, 250, below) > 0; }));
    EXPECT_EQ(driver_.Pixel(main_, 40, below), driver_.Pixel(main_, 250, below));
}

TEST_F(DesktopGresmont, TheFirstTabFromStartReachesExit)
{
    StartOnTheTemplate();
    driver_.Press({"Tab", "space"});
    EXPECT_EQ(program_.AwaitExit(), 0);
    EXPECT_EQ(Bitmaps(), 0);
}

TEST_F(DesktopGresmont, EscapeEndsTheFolderBrowserFirstAndThenTheProgramKeepingEveryValue)
{
    StartGresmont();
    // "&Output Folder" leads to its field; the folder button follows it.
    driver_.Press({"alt+o", "Tab", "space"});
    ASSERT_FALSE(driver_.AwaitFocusedWindow("Find Directory").empty());

    driver_.Press({"Escape"});
    EXPECT_TRUE(driver_.AwaitNoWindow("Find Directory"));
    EXPECT_EQ(driver_.Windows(kCaption).size(), 1u);
    EXPECT_FALSE(fs::exists(program_.folder() / "VideoTemplateProject" / "RecentProject.tmp"));

    ASSERT_TRUE(MainHasTheKeys());
    driver_.Press({"Escape"});
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryPageValue(program_.Read("VideoTemplateProject/RecentProject.tmp"));
}

TEST_F(DesktopGresmont, EnterInAMessageBoxPressesItsButtonAndTheCloseBoxEndsTheProgram)
{
    StartGresmont();
    // The first output file's "Open File" button, on a bitmap that is not there yet.
    driver_.Press({"alt+o", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
    ASSERT_FALSE(driver_.AwaitFocusedWindow(kCaption, main_).empty());

    driver_.Press({"Return"});
    EXPECT_TRUE(driver_.AwaitNoWindow(kCaption, main_));
    EXPECT_TRUE(MainHasTheKeys());

    ASSERT_TRUE(driver_.Close(main_));
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryPageValue(program_.Read("VideoTemplateProject/RecentProject.tmp"));
}

TEST_F(DesktopGresmont, SaveAsTakesANewNameTypedIntoThePickerAndTheMenuExitEndsTheProgram)
{
    StartGresmont();
    ExpectEveryPageValue(
        SaveAsTyped(program_, "VideoTemplateProject", "Mine", "Files to AVI/VideoCompression"));

    ASSERT_TRUE(MainHasTheKeys());
    ChooseFromFileMenu("e");
    EXPECT_EQ(program_.AwaitExit(), 0);
}

TEST_F(DesktopGresmont, StartedOnTheFilesPageItOpensThePreviewBesideTheMainDialog)
{
    // The recent project was left on the second page, with a bitmap there to show.
    const fs::path images = program_.folder() / "VideoTemplateImages";
    const fs::path projects = program_.folder() / "VideoTemplateProject";
    fs::create_directories(images);
    fs::create_directories(projects);
    ASSERT_TRUE(testmedia::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48", "-frames:v", "1",
                                      (images / "00000.bmp").string()}));
    ASSERT_TRUE(testmedia::WriteTextFile((projects / "RecentProject.tmp").string(),
                                         "[Tab]\nTab=1\n[Files to AVI]\nFolder=" + images.string() +
                                             "\nFirstFile=00000.bmp\nLastFile=00000.bmp\n"));
    StartGresmont();
    ExpectThePreviewBesideTheDialog();

    driver_.Press({"Escape"});
    EXPECT_EQ(program_.AwaitExit(), 0);
}

TEST_F(DesktopGresmont, TheFolderBrowsersOwnBoxGivesTheKeysBackToTheBrowser)
{
    StartGresmont();
    driver_.Press({"alt+o", "Tab", "space"});
    const std::string browser = driver_.AwaitFocusedWindow("Find Directory");
    ASSERT_FALSE(browser.empty());
    // A folder that is not there: the browser says so in a box of its own, with its title.
    driver_.Type("Missing");
    driver_.Press({"Return"});
    ASSERT_FALSE(driver_.AwaitFocusedWindow("Find Directory", browser).empty());
    driver_.Press({"Return"});
    EXPECT_TRUE(Eventually([&] { return driver_.Windows("Find Directory").size() == 1u; }));

    ASSERT_TRUE(Eventually([&] { return driver_.HasFocus(browser); }));
    driver_.Press({"Escape"});
    EXPECT_TRUE(driver_.AwaitNoWindow("Find Directory"));
    ASSERT_TRUE(MainHasTheKeys());
    driver_.Press({"Escape"});
    EXPECT_EQ(program_.AwaitExit(), 0);
}

}  // namespace
