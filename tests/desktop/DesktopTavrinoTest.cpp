// Tavrino on a real X server, driven by keys and clicks, with the desktop's own pickers
// and message boxes.

#include "desktop/DesktopTest.h"
#include "support/WaitUntil.h"

#include <cstdint>
#include <filesystem>

namespace {

using namespace desktop;
namespace fs = std::filesystem;

constexpr char kCaption[] = "Halvorsk Tavrino Free";
constexpr int kClientHeightUnits = 260;
// Far longer than a button's animated click (a tenth of a second) takes to press it, once
// the key that set it off has been handled; and how often a window is looked for meanwhile.
constexpr std::uint32_t kLateClickLookMs = 1000;
constexpr std::uint32_t kLookMs = 50;
const std::vector<std::string> kSampleFolders = {"Audio", "Background",   "FaceImage",
                                                 "Video", "VideoProject", "VideoTemplate"};

class DesktopTavrino : public DesktopTest {
protected:
    void StartTavrino() { StartProgram(program_, kCaption); }
    void ClickControl(int x, int y, int width, int height)
    {
        const Point point =
            DialogPoint(driver_.Geometry(main_), kClientHeightUnits, x, y, width, height);
        driver_.Click(main_, point.x, point.y);
    }
    // What the shutdown saved holds what the start project gave: every path (made
    // absolute) and every option.
    static void ExpectEveryValueOfTheSampleProject(const std::string& saved)
    {
        const auto values = ProjectValues(saved);
        for (const char* file :
             {"Garden.jpg", "Face.bmp", "Dancer.avi", "Melody.wav", "Sample.avi"}) {
            bool found = false;
            for (const auto& [key, value] : values)
                found = found || value.ends_with(file);
            EXPECT_TRUE(found) << file << " is missing from:\n" << saved;
        }
        const std::map<std::string, std::string> options = {
            {"VideoProject/AudioCompression", "PCM"},
            {"VideoProject/VideoCompression", "Microsoft MPEG-4 Video Codec V2"},
            {"VideoProject/AudioDelay", "5000"},
            {"VideoProject/FaceSize", "120%"}};
        for (const auto& [key, value] : options) {
            const auto found = values.find(key);
            EXPECT_TRUE(found != values.end() && found->second == value)
                << key << "=" << value << " is missing from:\n"
                << saved;
        }
    }

    DesktopProgram program_{"Tavrino", kSampleFolders};
};

TEST_F(DesktopTavrino, EscapeEndsThePickerFirstAndThenTheProgramKeepingEveryValue)
{
    StartTavrino();
    ChooseFromFileMenu("o");
    ASSERT_FALSE(driver_.AwaitFocusedWindow("Open").empty());

    driver_.Press({"Escape"});
    EXPECT_TRUE(driver_.AwaitNoWindow("Open"));
    EXPECT_EQ(driver_.Windows(kCaption).size(), 1u);
    EXPECT_FALSE(fs::exists(program_.folder() / "VideoProject" / "RecentProject.tmp"));

    // The picker gone, the dialog has the keys again.
    ASSERT_TRUE(MainHasTheKeys());
    driver_.Press({"Escape"});
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryValueOfTheSampleProject(program_.Read("VideoProject/RecentProject.tmp"));
}

TEST_F(DesktopTavrino, TheAboutBoxAndTheOptionsPageTakeTheirOwnKeysAndTheProgramEndsCleanly)
{
    StartTavrino();
    ChooseFromMenu(kHelpMenuX, "a");
    ASSERT_FALSE(driver_.AwaitFocusedWindow("About Tavrino").empty());
    driver_.Press({"Return"});
    EXPECT_TRUE(driver_.AwaitNoWindow("About Tavrino"));

    ASSERT_TRUE(MainHasTheKeys());
    ClickControl(419, 220, 22, 20);
    const std::string options = driver_.AwaitFocusedWindow("Options");
    ASSERT_FALSE(options.empty());
    driver_.Press({"Escape"});
    EXPECT_TRUE(driver_.AwaitNoWindow("Options"));
    EXPECT_EQ(driver_.Windows(kCaption).size(), 1u);

    ASSERT_TRUE(MainHasTheKeys());
    driver_.Press({"Escape"});
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryValueOfTheSampleProject(program_.Read("VideoProject/RecentProject.tmp"));
}

TEST_F(DesktopTavrino, ARequestToEndTheProgramClosesAnOpenPickerAndEndsIt)
{
    StartTavrino();
    ChooseFromFileMenu("o");
    ASSERT_FALSE(driver_.AwaitFocusedWindow("Open").empty());

    program_.Terminate();
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryValueOfTheSampleProject(program_.Read("VideoProject/RecentProject.tmp"));
}

TEST_F(DesktopTavrino, EnterInAMessageBoxPressesItsButtonAndTheCloseBoxEndsTheProgram)
{
    // No Gresmont lies beside this Tavrino: "Edit Video Template" has nothing to start.
    StartTavrino();
    ClickControl(429, 160, 22, 20);
    ASSERT_FALSE(driver_.AwaitFocusedWindow("Tavrino").empty());

    driver_.Press({"Return"});
    EXPECT_TRUE(driver_.AwaitNoWindow("Tavrino"));
    EXPECT_TRUE(MainHasTheKeys());
    ASSERT_EQ(driver_.Windows(kCaption).size(), 1u);

    ASSERT_TRUE(driver_.Close(main_));
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryValueOfTheSampleProject(program_.Read("VideoProject/RecentProject.tmp"));
}

TEST_F(DesktopTavrino, SaveAsTakesANewNameTypedIntoThePickerAndTheMenuExitEndsTheProgram)
{
    StartTavrino();
    ExpectEveryValueOfTheSampleProject(
        SaveAsTyped(program_, "VideoProject", "Mine", "VideoProject/FaceSize"));

    ASSERT_TRUE(MainHasTheKeys());
    ChooseFromFileMenu("e");
    EXPECT_EQ(program_.AwaitExit(), 0);
}

TEST_F(DesktopTavrino, ALabelsLetterMovesTheFocusWithoutClickingAndTheProgramEndsOnRequest)
{
    StartTavrino();
    // The left edge of the background preview, whose frame shows whether it has the focus.
    const Point frame = DialogPoint(driver_.Geometry(main_), kClientHeightUnits, 5, 20, 0, 120);
    long unfocused = -1;
    ASSERT_TRUE(
        Eventually([&] { return (unfocused = driver_.Pixel(main_, frame.x, frame.y)) > 0; }));
    driver_.Press({"alt+b"});
    // Once the key is handled the preview has the focus. A press that the key set off may
    // follow a moment later, as a button's animated click does: a short look for its picture
    // window then, since nothing tells that nothing happens.
    ASSERT_TRUE(Eventually([&] { return driver_.Pixel(main_, frame.x, frame.y) != unfocused; }));
    EXPECT_FALSE(testmedia::WaitUntil([&] { return !driver_.Windows("Background").empty(); },
                                      kLateClickLookMs, kLookMs));

    // The focus is on the background preview, whose press shows the picture.
    driver_.Press({"space"});
    EXPECT_FALSE(driver_.AwaitWindow("Background").empty());

    program_.Terminate();
    EXPECT_EQ(program_.AwaitExit(), 0);
    ExpectEveryValueOfTheSampleProject(program_.Read("VideoProject/RecentProject.tmp"));
}

}  // namespace
