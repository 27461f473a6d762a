#pragma once

#include "creator/app/OptionsDlgResource.h"
#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/app/TavrinoResources.h"
#include "platform/win/Profile.h"
#include "support/DesktopRecorder.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace tavrino_test {

// The compressors the tests' machine has.
inline const std::vector<std::string> kAudioCompressors = {"CCITT A-Law", "GSM 6.10", "IMA ADPCM",
                                                           "MPEG Layer-3", "PCM"};
inline const std::vector<std::string> kVideoCompressors = {
    "Microsoft Video 1", "Cinepak Codec by Radius", "MJPEG Compressor",
    "Microsoft MPEG-4 Video Codec V2", "Microsoft MPEG-4 Video Codec V3"};

inline constexpr const char* kProjectKeys[] = {
    "Background",       "FaceImage",        "VideoTemplate", "Audio",   "Video",
    "AudioCompression", "VideoCompression", "AudioDelay",    "FaceSize"};

// Tavrino's main dialog as the application's main window, in a program folder of its
// own ("Tavrino" in a temporary folder, with the six folders beside it), with the
// desktop's answers recorded and the compressors above installed.
class MainDialogTest : public testmedia::ProgramFolderTest {
protected:
    MainDialogTest() : ProgramFolderTest("Tavrino") {}

    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        AfxSetResourceHandle(&kTavrinoModule);
        desktop_.InstallCompressors(kAudioCompressors, kVideoCompressors);
        for (const char* folder :
             {"VideoProject", "Background", "FaceImage", "VideoTemplate", "Audio", "Video"})
            std::filesystem::create_directories(dir_ / folder);
    }
    void TearDown() override
    {
        // Every way out passes through OnCancel, which frees the graphs; a second pass
        // changes nothing.
        if (dialog_ && dialog_->m_hWnd)
            End();
        dialog_.reset();
        AfxSetResourceHandle(nullptr);
        ProgramFolderTest::TearDown();
    }

    // Makes the dialog modeless (OnInitDialog runs) and shows it.
    void Start()
    {
        dialog_ = std::make_unique<CPlumetaDlg>();
        app_.m_pMainWnd = dialog_.get();
        ASSERT_TRUE(dialog_->Create(kPlumetaDialogId));
    }
    // The way out through the Exit button's command.
    void End() { dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)); }

    HWND Item(int id) const { return ::GetDlgItem(dialog_->m_hWnd, id); }
    std::string Text(int id) const
    {
        char text[1024] = {};
        ::GetDlgItemTextA(dialog_->m_hWnd, id, text, sizeof text);
        return text;
    }
    HWND Options() { return dialog_->OptionsPage().m_hWnd; }
    std::string OptionText(int id)
    {
        char text[1024] = {};
        ::GetDlgItemTextA(Options(), id, text, sizeof text);
        return text;
    }

    std::string ProjectsFolder() const { return (dir_ / "VideoProject").string(); }
    std::string RecentProject() const { return ProjectsFolder() + "/RecentProject.tmp"; }
    std::string DefaultProject() const { return ProjectsFolder() + "/DefaultProject.avp"; }

    // The keys of section "VideoProject" that the file holds.
    static std::map<std::string, std::string> ProjectValues(const std::string& path)
    {
        std::map<std::string, std::string> values;
        for (const char* key : kProjectKeys) {
            char value[1024];
            if (GetPrivateProfileStringA("VideoProject", key, "\x01", value, sizeof value,
                                         path.c_str()) != 1 ||
                value[0] != '\x01')
                values[key] = value;
        }
        return values;
    }

    CWinApp app_;
    testmedia::DesktopRecorder desktop_;
    std::unique_ptr<CPlumetaDlg> dialog_;
};

}  // namespace tavrino_test
