// The main dialog's project files: one section "VideoProject" of nine keys in an INI
// file with the extension ".avp".

#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "media/FileUtils.h"
#include "media/FilterLookup.h"
#include "media/ProfileUtils.h"
#include "media/ui/PathField.h"
#include "media/ui/Pickers.h"
#include "platform/win/Profile.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr char kSection[] = "VideoProject";

struct PathKey {
    const char* key;
    int field;
};
constexpr PathKey kPathKeys[] = {{"Background", kBackgroundPath},
                                 {"FaceImage", kFaceImagePath},
                                 {"VideoTemplate", kTemplatePath},
                                 {"Audio", kAudioPath},
                                 {"Video", kOutputPath}};

constexpr char kAudioCompressionKey[] = "AudioCompression";
constexpr char kVideoCompressionKey[] = "VideoCompression";
constexpr char kAudioDelayKey[] = "AudioDelay";
constexpr char kFaceSizeKey[] = "FaceSize";
constexpr double kDefaultAudioDelay = 5000;
constexpr double kDefaultFaceSize = 120;
// The trackbar's longest delay; a larger stored one is held to it.
constexpr double kLongestAudioDelay = 100000;
// Above the largest face size listed; a larger stored one selects nothing, as it does.
constexpr double kBeyondFaceSizes = 1000;

constexpr char kProjectFilter[] = "Audio Video Project (*.avp)\0*.avp;\0";
constexpr char kProjectExtension[] = "avp";

}  // namespace

int CPlumetaDlg::LoadProject(const char* path)
{
    for (const PathKey& entry : kPathKeys) {
        char value[kPathReadSize];
        ReadIniString(kSection, entry.key, "", value, sizeof value, path);
        ResolveWholePath(value, sizeof value);
        SetDlgItemText(entry.field, value);
    }
    char name[kPathBufferSize];
    ReadIniString(kSection, kAudioCompressionKey, "", name, sizeof name, path);
    options_.SetAudioCompressor(name);
    ReadIniString(kSection, kVideoCompressionKey, "", name, sizeof name, path);
    options_.SetVideoCompressor(name);

    // Stored numbers are held to the range the page can show before they become integers:
    // a text such as "nan" or "1e12" never reaches a conversion it would overflow.
    const double delay =
        std::trunc(ReadProfileDouble(kSection, kAudioDelayKey, kDefaultAudioDelay, path));
    if (delay >= 0)
        options_.SetAudioDelay(static_cast<int>(std::fmin(delay, kLongestAudioDelay)));
    const double rounded =
        std::trunc(ReadProfileDouble(kSection, kFaceSizeKey, kDefaultFaceSize, path) + 0.5);
    if (!(rounded >= 1))
        return 0;
    const int faceSize = static_cast<int>(std::fmin(rounded, kBeyondFaceSizes)) / 10 * 10;
    return options_.SetFaceSize(faceSize);
}

int CPlumetaDlg::SaveProject(const char* path)
{
    for (const PathKey& entry : kPathKeys)
        WritePrivateProfileStringA(kSection, entry.key, PathFieldText(m_hWnd, entry.field).c_str(),
                                   path);
    char name[kFriendlyNameLength];
    options_.GetAudioCompressor(name, sizeof name);
    WritePrivateProfileStringA(kSection, kAudioCompressionKey, name, path);
    options_.GetVideoCompressor(name, sizeof name);
    WritePrivateProfileStringA(kSection, kVideoCompressionKey, name, path);
    char number[32];
    std::snprintf(number, sizeof number, "%d", options_.GetAudioDelay());
    WritePrivateProfileStringA(kSection, kAudioDelayKey, number, path);
    std::snprintf(number, sizeof number, "%d%%", options_.GetFaceSize());
    return WritePrivateProfileStringA(kSection, kFaceSizeKey, number, path);
}

void CPlumetaDlg::OnFileOpen()
{
    if (ChooseFile(m_hWnd, "Open", folders_[kProjectFolder], kProjectFilter, kProjectExtension,
                   projectPath_, sizeof projectPath_, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY))
        LoadProject(projectPath_);
}

void CPlumetaDlg::OnFileSave()
{
    if (FileExists(projectPath_) && IsWritableFilePath(projectPath_))
        SaveProject(projectPath_);
    else
        OnFileSaveAs();
}

void CPlumetaDlg::OnFileSaveAs()
{
    if (ChooseFile(m_hWnd, "Save As", folders_[kProjectFolder], kProjectFilter, kProjectExtension,
                   projectPath_, sizeof projectPath_, OFN_HIDEREADONLY))
        SaveProject(projectPath_);
}
