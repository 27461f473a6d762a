// The main dialog's input groups: each path field with its file picker, folder opener,
// tool button and, for the pictures and the template, its preview. Relative paths in the
// fields are taken against the program's folder, as everywhere in the dialog.

#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "media/BitmapInfo.h"
#include "media/ui/Pickers.h"
#include "media/ui/PictureWindow.h"
#include "media/ui/ShellOpen.h"
#include "platform/text/Utf8Copy.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Shell.h"

#include <cstring>
#include <string>

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
// The editor's executable beside this program.
constexpr char kEditorProgram[] = "Gresmont";
constexpr char kEditorName[] = "Gresmont";

// The shell's answers above this mean success.
constexpr INT_PTR kShellSucceeded = 32;

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

INT_PTR CPlumetaDlg::LaunchTool(const char* verb, const char* toolProgram,
                                const char* toolDescription, int fieldId)
{
    char file[kPathBufferSize];
    ReadPathField(fieldId, file);
    if (!toolProgram)
        return OpenOrTell(m_hWnd, verb, "file", file, toolDescription);
    char tool[kPathBufferSize];
    CopyTextCut(tool, sizeof tool, toolProgram);
    ResolveWholePath(tool, sizeof tool);
    // The tool's own folder is its working folder.
    char folder[kPathBufferSize];
    std::memcpy(folder, tool, sizeof folder);
    if (char* cut = FindLastPathSeparator(folder); cut && IsPathSeparator(*cut))
        *cut = '\0';
    const INT_PTR started = ShellExecuteA(nullptr, "open", tool, file, folder, SW_SHOW);
    if (started > kShellSucceeded)
        return started;
    const std::string missingTool =
        std::string(toolDescription) + ":\r\n\r\n  " + tool + "\r\n\r\n";
    return TellCannotOpen(m_hWnd, verb, "file", file, missingTool.c_str());
}

void CPlumetaDlg::OpenFolder(char* folder)
{
    for (;;) {
        if (*SkipSpaces(folder) && OpenFolderOrTell(m_hWnd, folder))
            return;
        if (!ChooseFolder(m_hWnd, folder) || !*folder)
            return;
    }
}

void CPlumetaDlg::BrowseFile(const char* filter, const char* startFolder, int fieldId)
{
    char file[kPathBufferSize] = {};
    if (ChooseFile(m_hWnd, "Open", startFolder, filter, nullptr, file, sizeof file,
                   OFN_HIDEREADONLY))
        SetDlgItemText(fieldId, file);
}

void CPlumetaDlg::ShowFullSize(CBufferFrame* source, BOOL createWindow)
{
    char name[kPathBufferSize] = {};
    source->GetName(name, sizeof name - 1);
    FrameRecord copy{};
    if (source->GetFrame(&copy) && copy.image) {
        if (createWindow)
            cvNamedWindow(name, CV_WINDOW_AUTOSIZE);
        cvShowImage(name, copy.image);
    } else {
        cvDestroyWindow(name);
    }
    delete copy.image;
}

LRESULT CPlumetaDlg::ShowPreview(CBufferFrame* source, BOOL bottomUp, HBITMAP bitmap, int buttonId)
{
    HWND button = ::GetDlgItem(m_hWnd, buttonId);
    RECT client{};
    ::GetClientRect(button, &client);
    const int width = client.right - client.left + 1;
    const int height = client.bottom - client.top + 1;
    HBITMAP shown = nullptr;
    // Pictures of one channel are turned into three on the way (the scaled copy converts).
    FrameRecord picture{0, 0, {}, Image::Create(width, height, 3).release()};
    if (picture.image && source && source->GetFrameScaled(&picture)) {
        BITMAPINFO info{};
        InitBitmapInfoHeader(&info, width, bottomUp ? height : -height, 24);
        HDC context = GetDC(button);
        if (SetDIBits(context, bitmap, 0, static_cast<UINT>(height), picture.image->data(), &info,
                      DIB_RGB_COLORS) > 0)
            shown = bitmap;
        ReleaseDC(button, context);
    }
    delete picture.image;
    return ::SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
}

void CPlumetaDlg::OnChangeBackground()
{
    OnChangePicture(kBackgroundPath, backgroundSource_, kBackgroundBitmap, kViewBackground);
}

void CPlumetaDlg::OnChangeFaceImage()
{
    OnChangePicture(kFaceImagePath, faceSource_, kFaceBitmap, kViewFaceImage);
}

void CPlumetaDlg::OnChangePicture(int fieldId, CBufferFrame& source, int bitmap, int buttonId)
{
    FollowPathChange(fieldId);
    char path[kPathBufferSize];
    ReadPathField(fieldId, path);
    source.SetImage(nullptr);
    source.SetFileName(path);
    source.LoadFile();
    ShowFullSize(&source, FALSE);
    ShowPreview(&source, FALSE, previews_[bitmap], buttonId);
}

void CPlumetaDlg::OnChangeVideoTemplate()
{
    options_.UpdateApplyButton();
    ShowPath(kTemplatePath);
    // A creation of the template named before has nothing more to show.
    endedCreationShown_ = false;
    // The read of the template named before ends here, and its frame goes: neither the
    // preview nor a creation may take it for the new template's.
    templateReader_.Stop();
    templateReader_.Close();
    templateSource_.SetImage(nullptr);
    ShowPreview(nullptr, TRUE, previews_[kTemplateBitmap], kTemplatePreview);
    char path[kPathBufferSize];
    ReadPathField(kTemplatePath, path);
    templateReading_ =
        *SkipSpaces(path) &&
        templateReader_.Open(path, 0, CVideoFrame::kMaxFrameLimit, m_hWnd, WM_TEMPLATE_COUNTED);
    // Until the new template is read, nothing can be created.
    if (templateReading_) {
        EnableControls(TRUE);
        return;
    }
    templateReader_.Close();
    EnableControls(TRUE);
    SetDlgItemText(kStatusLine, "");
}

void CPlumetaDlg::OnChangeAudio()
{
    FollowPathChange(kAudioPath);
}

void CPlumetaDlg::OnChangeOutputVideo()
{
    FollowPathChange(kOutputPath);
}

void CPlumetaDlg::FollowPathChange(int fieldId)
{
    // Whether the output may be made or rewritten depends on every path: it must not be
    // one of the inputs.
    options_.UpdateApplyButton();
    ShowPath(fieldId);
    // Only the idle state follows the field: a creation keeps its own.
    EnableControls(!creating_);
}
