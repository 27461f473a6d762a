#include "MainDialogTest.h"

#include "support/TestMedia.h"

using namespace tavrino_test;

namespace {

class ProjectFilesTest : public MainDialogTest {
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        Start();
    }

    // Loads a project of one section "VideoProject" with these lines.
    int Load(const std::string& lines)
    {
        const std::string path = (dir_ / "Load.avp").string();
        EXPECT_TRUE(testmedia::WriteTextFile(path, "[VideoProject]\n" + lines));
        return dialog_->LoadProject(path.c_str());
    }
    COptionsDlg& Options() { return dialog_->OptionsPage(); }

    // Loads each stored text of the key in turn, each after the one before, and checks
    // what the page then holds.
    struct Stored {
        const char* text;
        int loaded;
    };
    void ExpectEachLoads(const std::string& key, int (COptionsDlg::*held)(),
                         std::initializer_list<Stored> cases)
    {
        for (const Stored& stored : cases) {
            Load(key + "=" + stored.text + "\n");
            EXPECT_EQ((Options().*held)(), stored.loaded) << key << "=" << stored.text;
        }
    }
    void Command(UINT command) { dialog_->SendMessage(WM_COMMAND, command); }
};

}  // namespace

TEST_F(ProjectFilesTest, SaveAsWritesTheNineKeysAndOpenBringsThemBack)
{
    ::SetDlgItemTextA(dialog_->m_hWnd, kBackgroundPath, "/pictures/Garden.jpg");
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "/videos/Mine.avi");
    Options().SetAudioCompressor("pcm");
    Options().SetVideoCompressor("MJPEG");
    Options().SetAudioDelay(7300);
    Options().SetFaceSize(170);
    const std::string saved = (dir_ / "Mine").string();
    desktop_.fileAnswers = {saved};
    Command(kSaveProjectAsCommand);
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    const FilePickCall& pick = desktop_.filePicks[0];
    EXPECT_EQ(pick.title, "Save As");
    EXPECT_EQ(pick.initialFolder, ProjectsFolder());
    EXPECT_EQ(pick.defaultExtension, "avp");
    EXPECT_FALSE(pick.mustExist);
    ASSERT_EQ(pick.filters.size(), 1u);
    EXPECT_EQ(pick.filters[0].description, "Audio Video Project (*.avp)");
    EXPECT_EQ(pick.filters[0].patterns, std::vector<std::string>{"*.avp"});
    EXPECT_EQ(dialog_->ProjectPath(), saved + ".avp");
    EXPECT_EQ(ProjectValues(saved + ".avp"),
              (std::map<std::string, std::string>{{"Background", "/pictures/Garden.jpg"},
                                                  {"FaceImage", ""},
                                                  {"VideoTemplate", ""},
                                                  {"Audio", ""},
                                                  {"Video", "/videos/Mine.avi"},
                                                  {"AudioCompression", "PCM"},
                                                  {"VideoCompression", "MJPEG Compressor"},
                                                  {"AudioDelay", "7300"},
                                                  {"FaceSize", "170%"}}));

    ::SetDlgItemTextA(dialog_->m_hWnd, kBackgroundPath, "");
    Options().SetAudioCompressor("GSM");
    Options().SetAudioDelay(0);
    Options().SetFaceSize(100);
    desktop_.fileAnswers = {saved + ".avp"};
    Command(kOpenProjectCommand);
    ASSERT_EQ(desktop_.filePicks.size(), 2u);
    EXPECT_EQ(desktop_.filePicks[1].title, "Open");
    EXPECT_TRUE(desktop_.filePicks[1].mustExist);
    EXPECT_EQ(desktop_.filePicks[1].initialName, saved + ".avp");
    EXPECT_EQ(Text(kBackgroundPath), "/pictures/Garden.jpg");
    char name[260];
    Options().GetAudioCompressor(name, sizeof name);
    EXPECT_STREQ(name, "PCM");
    EXPECT_EQ(Options().GetAudioDelay(), 7300);
    EXPECT_EQ(Options().GetFaceSize(), 170);
}

TEST_F(ProjectFilesTest, SaveRightAfterStartAsksForANameThenSavesWithoutAsking)
{
    desktop_.fileAnswers = {std::nullopt};
    Command(kSaveProjectCommand);
    ASSERT_EQ(desktop_.filePicks.size(), 1u);
    EXPECT_EQ(desktop_.filePicks[0].title, "Save As");
    EXPECT_STREQ(dialog_->ProjectPath(), "");  // cancelled: nothing changes

    const std::string path = ProjectsFolder() + "/Kept.avp";
    desktop_.fileAnswers = {path};
    Command(kSaveProjectCommand);
    ::SetDlgItemTextA(dialog_->m_hWnd, kAudioPath, "/music/Song.mp3");
    Command(kSaveProjectCommand);
    EXPECT_EQ(desktop_.filePicks.size(), 2u);
    EXPECT_EQ(ProjectValues(path).at("Audio"), "/music/Song.mp3");
}

TEST_F(ProjectFilesTest, SavingKeepsWhatElseTheFileHolds)
{
    const std::string path = (dir_ / "Shared.avp").string();
    ASSERT_TRUE(testmedia::WriteTextFile(path, "; my notes\n[Mine]\nColour=blue\n"
                                               "[VideoProject]\nAudio=/old.wav\nExtra=kept\n"));
    ::SetDlgItemTextA(dialog_->m_hWnd, kAudioPath, "/new.wav");
    EXPECT_TRUE(dialog_->SaveProject(path.c_str()));
    char value[64];
    GetPrivateProfileStringA("Mine", "Colour", "", value, sizeof value, path.c_str());
    EXPECT_STREQ(value, "blue");
    GetPrivateProfileStringA("VideoProject", "Extra", "", value, sizeof value, path.c_str());
    EXPECT_STREQ(value, "kept");
    EXPECT_EQ(ProjectValues(path).at("Audio"), "/new.wav");
    EXPECT_NE(testmedia::ReadWholeFile(path).find("; my notes"), std::string::npos);
}

TEST_F(ProjectFilesTest, RelativePathsComeBackAbsoluteAndAreSavedSo)
{
    Load("Background=..\\Shared\\Garden.jpg\nFaceImage=FaceImage\\Face.bmp\nAudio=  \n");
    const std::string shared = (dir_.parent_path() / "Shared" / "Garden.jpg").string();
    EXPECT_EQ(Text(kBackgroundPath), shared);
    EXPECT_EQ(Text(kFaceImagePath), (dir_ / "FaceImage" / "Face.bmp").string());
    const std::string path = (dir_ / "Saved.avp").string();
    dialog_->SaveProject(path.c_str());
    EXPECT_EQ(ProjectValues(path).at("Background"), shared);
    // A relative path too long to be made absolute whole is no path at all: cut, it would
    // name another file.
    Load("Video=Video\\" + std::string(505, 'v') + "\n");
    EXPECT_EQ(Text(kOutputPath), "");
}

TEST_F(ProjectFilesTest, PathsWithSlashesLieInTheProgramsFolderAndAreShownWithSlashes)
{
    Load("Background=../Shared/Garden.jpg\nAudio=Audio/Song.wav\n"
         "Video=" +
         dir_.string() + "/Video\\Mine.avi\n");
    EXPECT_EQ(Text(kBackgroundPath), (dir_.parent_path() / "Shared" / "Garden.jpg").string());
    EXPECT_EQ(Text(kAudioPath), (dir_ / "Audio" / "Song.wav").string());
    EXPECT_EQ(Text(kOutputPath), (dir_ / "Video" / "Mine.avi").string());
}

TEST_F(ProjectFilesTest, AStoredPathTooLongForAFieldIsRefusedWholeNotCut)
{
    // 519 bytes fit a path buffer to its last byte; 520 do not.
    const std::string fits = dir_.string() + "/" + std::string(518 - dir_.string().size(), 'f');
    const std::string tooLong = (dir_ / "Video" / std::string(600, 'v')).string() + ".avi";
    Load("Video=" + tooLong + "\nAudio=" + fits + "a\nFaceImage=" + fits + "\n");
    EXPECT_EQ(Text(kOutputPath), "");
    EXPECT_EQ(Text(kAudioPath), "");
    EXPECT_EQ(Text(kFaceImagePath), fits);
}

TEST_F(ProjectFilesTest, AMissingFileGivesEveryKeysDefault)
{
    ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, "/t.avi");
    Options().SetAudioDelay(100);
    Options().SetFaceSize(200);
    dialog_->LoadProject((dir_ / "Missing.avp").c_str());
    EXPECT_EQ(Text(kTemplatePath), "");
    EXPECT_EQ(Options().GetAudioDelay(), 5000);
    EXPECT_EQ(Options().GetFaceSize(), 120);
}

TEST_F(ProjectFilesTest, CompressorsAreChosenByPrefixAndAnEmptyOrUnknownNameKeepsTheChoice)
{
    Load("AudioCompression=ima\nVideoCompression=Microsoft MPEG-4 Video Codec V3\n");
    char name[260];
    Options().GetAudioCompressor(name, sizeof name);
    EXPECT_STREQ(name, "IMA ADPCM");
    Options().GetVideoCompressor(name, sizeof name);
    EXPECT_STREQ(name, "Microsoft MPEG-4 Video Codec V3");
    Load("AudioCompression=\nVideoCompression=Not Installed\n");
    Options().GetAudioCompressor(name, sizeof name);
    EXPECT_STREQ(name, "IMA ADPCM");
    Options().GetVideoCompressor(name, sizeof name);
    EXPECT_STREQ(name, "Microsoft MPEG-4 Video Codec V3");
}

TEST_F(ProjectFilesTest, FaceSizesRoundDownToTheirTenAndThoseWithoutAnEntryChangeNothing)
{
    Options().SetFaceSize(200);
    ExpectEachLoads("FaceSize", &COptionsDlg::GetFaceSize,
                    {{"125%", 120},
                     {"126", 120},
                     {"199%", 190},
                     {"200.4", 200},
                     {"95", 200},
                     {"abc", 200},
                     {"nan", 200},
                     {"1e12", 200},
                     {"-1e12", 200},
                     {"-0", 200},
                     {"104.5", 100}});
    EXPECT_EQ(Load("FaceSize=150\n"), 1);
    EXPECT_EQ(Load("FaceSize=0\n"), 0);
}

TEST_F(ProjectFilesTest, DelaysAreCutToWholeMillisecondsHeldToTheTrackbarAndNegativeOnesIgnored)
{
    ExpectEachLoads("AudioDelay", &COptionsDlg::GetAudioDelay,
                    {{"5050", 5000},
                     {"-100", 5000},
                     {"abc", 0},
                     {"2300", 2300},
                     {"nan", 2300},
                     {"1e12", 100000},
                     {"-1e12", 100000},
                     {"inf", 100000},
                     {"-0", 0},
                     {"-0.5", 0},
                     {"99.9", 0}});
}

TEST_F(ProjectFilesTest, AProjectSavedWithTheDefaultsReadsBackTheSame)
{
    const std::string path = (dir_ / "Defaults.avp").string();
    dialog_->SaveProject(path.c_str());
    const auto values = ProjectValues(path);
    EXPECT_EQ(values.at("AudioDelay"), "5000");
    EXPECT_EQ(values.at("FaceSize"), "120%");
    dialog_->LoadProject(path.c_str());
    EXPECT_EQ(Options().GetAudioDelay(), 5000);
    EXPECT_EQ(Options().GetFaceSize(), 120);
}
