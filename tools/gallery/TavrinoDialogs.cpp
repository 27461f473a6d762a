#include "tools/gallery/TavrinoDialogs.h"

#include "creator/app/OptionsDlgResource.h"
#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/app/TavrinoResources.h"
#include "media/PathUtils.h"
#include "media/ui/CompressorCombo.h"
#include "platform/dshow/Uuids.h"
#include "platform/ui/WindowServices.h"
#include "platform/win/Files.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Sync.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace {

// The patience for the sample template's read.
constexpr DWORD kReadPatienceMs = 10000;

// The main dialog while its snapshot is taken, with the application it belongs to and
// the recent project file as it was before.
struct RunningMainDialog {
    CWinApp app;
    CPlumetaDlg dialog;
    std::string recentProject;
    std::optional<std::string> recentBefore;
};

std::unique_ptr<RunningMainDialog>& Running()
{
    static std::unique_ptr<RunningMainDialog> running;
    return running;
}

std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream file(ToNativePath(path.c_str()), std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

SnapshotWindow StartTavrinoMainDialog()
{
    AfxSetResourceHandle(&kTavrinoModule);
    auto running = std::make_unique<RunningMainDialog>();
    char folder[kPathBufferSize] = {};
    GetModuleDirectory(folder, sizeof folder);
    char projects[kPathBufferSize];
    char recent[kPathBufferSize];
    char sample[kPathBufferSize];
    JoinPath(projects, sizeof projects, folder, "VideoProject");
    JoinPath(recent, sizeof recent, projects, "RecentProject.tmp");
    JoinPath(sample, sizeof sample, projects, "DefaultProject.avp");
    running->recentProject = recent;
    running->recentBefore = ReadFile(recent);

    running->app.m_pMainWnd = &running->dialog;
    if (!running->dialog.Create(kPlumetaDialogId)) {
        AfxSetResourceHandle(nullptr);
        return {};
    }
    // A recent project of the program's own use gives way to the sample.
    running->dialog.LoadProject(sample);
    HWND window = running->dialog.m_hWnd;
    for (DWORD waited = 0; waited < kReadPatienceMs; waited += 2) {
        ProcessPostedMessages();
        char status[64] = {};
        GetDlgItemTextA(window, kStatusLine, status, sizeof status);
        if (std::strstr(status, "frame"))
            break;
        Sleep(2);
    }
    ShowWindow(window, SW_SHOW);
    Running() = std::move(running);
    return {window, window};
}

void EndTavrinoMainDialog()
{
    std::unique_ptr<RunningMainDialog>& running = Running();
    if (!running)
        return;
    running->dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    std::error_code error;
    if (running->recentBefore) {
        std::ofstream(ToNativePath(running->recentProject.c_str()), std::ios::binary)
            << *running->recentBefore;
    } else {
        std::filesystem::remove(ToNativePath(running->recentProject.c_str()), error);
    }
    running.reset();
    AfxSetResourceHandle(nullptr);
}

void FillTavrinoOptions(HWND dialog)
{
    FillCompressorCombo(GetDlgItem(dialog, kAudioCompressorList), CLSID_AudioCompressorCategory);
    FillCompressorCombo(GetDlgItem(dialog, kVideoCompressorList), CLSID_VideoCompressorCategory);
    SendDlgItemMessageA(dialog, kAudioCompressorList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("GSM"));
    SendDlgItemMessageA(dialog, kVideoCompressorList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("Microsoft MPEG-4 Video Codec"));
    SendDlgItemMessageA(dialog, kFaceSizeList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("120%"));
    SendDlgItemMessageA(dialog, kDelayTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 1000));
    SendDlgItemMessageA(dialog, kDelayTrackbar, TBM_SETPOS, TRUE, 50);
    SetDlgItemTextA(dialog, kDelayLabel, "Audio &Delay\r\n5.0 sec");
}
