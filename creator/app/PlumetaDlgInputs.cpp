// The main dialog's input groups: each path field with its file picker, folder opener,
// tool button and, for the pictures and the template, its preview.
//
// Until the pickers, previews and tools are built, each button reaches its helper, which
// does nothing, and each path field's change shows the field in the focus-path line.

#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"

namespace {

// File filters: one description and one pattern each.
constexpr char kBackgroundFilter[] = "Background Image File (*.bmp; *.jpg)\0*.bmp;*.jpg;\0";
constexpr char kFaceImageFilter[] = "Face Image File (*.bmp; *.jpg)\0*.bmp;*.jpg;\0";
constexpr char kTemplateFilter[] = "Video Template File (*.avi)\0*.avi;\0";
constexpr char kAudioFilter[] =
    "Audio File (*mid; *.mp3; *.wav; *.wma)\0*.mid;*.mp3;*.wav;*.wma;\0";
constexpr char kOutputFilter[] = "Video File (*.avi)\0*.avi;\0";

constexpr char kImageEditor[] = "Image Editor";
constexpr char kVideoPlayer[] = "Video Player";
constexpr char kAudioPlayer[] = "Audio Player";
constexpr char kEditorProgram[] = "Gresmont.exe";
constexpr char kEditorName[] = "Gresmont";

}  // namespace

void CPlumetaDlg::OnViewBackground()
{
    ShowFullSize(&backgroundSource_, TRUE);
}

void CPlumetaDlg::OnViewFaceImage()
{
    ShowFullSize(&faceSource_, TRUE);
}

void CPlumetaDlg::OnEditBackground()
{
    LaunchTool("edit", nullptr, kImageEditor, kBackgroundPath);
}

void CPlumetaDlg::OnEditFaceImage()
{
    LaunchTool("edit", nullptr, kImageEditor, kFaceImagePath);
}

void CPlumetaDlg::OnPlayTemplate()
{
    LaunchTool("play", nullptr, kVideoPlayer, kTemplatePath);
}

void CPlumetaDlg::OnEditTemplate()
{
    LaunchTool("edit", kEditorProgram, kEditorName, kTemplatePath);
}

void CPlumetaDlg::OnPlayAudio()
{
    LaunchTool("play", nullptr, kAudioPlayer, kAudioPath);
}

void CPlumetaDlg::OnPlayVideo()
{
    LaunchTool("play", nullptr, kVideoPlayer, kOutputPath);
}

void CPlumetaDlg::OnSelectBackground()
{
    BrowseFile(kBackgroundFilter, folders_[kBackgroundFolder], kBackgroundPath);
}

void CPlumetaDlg::OnSelectFaceImage()
{
    BrowseFile(kFaceImageFilter, folders_[kFaceImageFolder], kFaceImagePath);
}

void CPlumetaDlg::OnSelectTemplate()
{
    BrowseFile(kTemplateFilter, folders_[kTemplateFolder], kTemplatePath);
}

void CPlumetaDlg::OnSelectAudio()
{
    BrowseFile(kAudioFilter, folders_[kAudioFolder], kAudioPath);
}

void CPlumetaDlg::OnSelectVideo()
{
    BrowseFile(kOutputFilter, folders_[kVideoFolder], kOutputPath);
}

void CPlumetaDlg::OnOpenBackgroundFolder()
{
    OpenFolder(folders_[kBackgroundFolder]);
}

void CPlumetaDlg::OnOpenFaceImageFolder()
{
    OpenFolder(folders_[kFaceImageFolder]);
}

void CPlumetaDlg::OnOpenTemplateFolder()
{
    OpenFolder(folders_[kTemplateFolder]);
}

void CPlumetaDlg::OnOpenAudioFolder()
{
    OpenFolder(folders_[kAudioFolder]);
}

void CPlumetaDlg::OnOpenVideoFolder()
{
    OpenFolder(folders_[kVideoFolder]);
}

INT_PTR CPlumetaDlg::LaunchTool(const char*, const char*, const char*, int)
{
    return 0;
}

void CPlumetaDlg::OpenFolder(char*) {}

void CPlumetaDlg::BrowseFile(const char*, const char*, int) {}

void CPlumetaDlg::ShowFullSize(CBufferFrame*, BOOL) {}

void CPlumetaDlg::OnChangeBackground()
{
    ShowPath(kBackgroundPath);
}

void CPlumetaDlg::OnChangeFaceImage()
{
    ShowPath(kFaceImagePath);
}

void CPlumetaDlg::OnChangeVideoTemplate()
{
    ShowPath(kTemplatePath);
}

void CPlumetaDlg::OnChangeAudio()
{
    ShowPath(kAudioPath);
}

void CPlumetaDlg::OnChangeOutputVideo()
{
    ShowPath(kOutputPath);
}
