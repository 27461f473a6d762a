#include "creator/app/PlumetaDlg.h"

#include "creator/app/AboutDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/app/TavrinoResources.h"
#include "media/FileUtils.h"
#include "media/MakerSite.h"
#include "media/ui/ShellOpen.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/PictureWindows.h"
#include "platform/win/Files.h"

namespace {

// The folder names beside the program, in the order of CPlumetaDlg::Folder.
constexpr const char* kFolderNames[] = {"VideoProject",  "Background", "FaceImage",
                                        "VideoTemplate", "Audio",      "Video"};

constexpr char kRecentProject[] = "RecentProject.tmp";
constexpr char kDefaultProject[] = "DefaultProject.avp";

// The path field whose group the control belongs to; 0 for none.
int GroupField(int control)
{
    if ((control >= kViewBackground && control <= kOpenBackgroundFolder) ||
        control == kBackgroundPath)
        return kBackgroundPath;
    if ((control >= kViewFaceImage && control <= kOpenFaceImageFolder) || control == kFaceImagePath)
        return kFaceImagePath;
    if ((control >= kTemplatePreview && control <= kOpenTemplateFolder) || control == kTemplatePath)
        return kTemplatePath;
    if ((control >= kPlayAudio && control <= kOpenAudioFolder) || control == kAudioPath)
        return kAudioPath;
    if ((control >= kCreateVideo && control <= kOpenVideoFolder) || control == kOutputPath)
        return kOutputPath;
    return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlumetaDlg, CDialog)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, &CPlumetaDlg::OnToolTipText)
ON_BN_CLICKED(kViewBackground, &CPlumetaDlg::OnViewBackground)
ON_BN_CLICKED(kViewFaceImage, &CPlumetaDlg::OnViewFaceImage)
ON_BN_CLICKED(kEditBackground, &CPlumetaDlg::OnEditBackground)
ON_BN_CLICKED(kEditFaceImage, &CPlumetaDlg::OnEditFaceImage)
ON_BN_CLICKED(kTemplatePreview, &CPlumetaDlg::OnPlayTemplate)
ON_BN_CLICKED(kPlayTemplate, &CPlumetaDlg::OnPlayTemplate)
ON_BN_CLICKED(kEditTemplate, &CPlumetaDlg::OnEditTemplate)
ON_BN_CLICKED(kPlayAudio, &CPlumetaDlg::OnPlayAudio)
ON_BN_CLICKED(kPlayVideo, &CPlumetaDlg::OnPlayVideo)
ON_BN_CLICKED(kSelectBackground, &CPlumetaDlg::OnSelectBackground)
ON_BN_CLICKED(kSelectFaceImage, &CPlumetaDlg::OnSelectFaceImage)
ON_BN_CLICKED(kSelectTemplate, &CPlumetaDlg::OnSelectTemplate)
ON_BN_CLICKED(kSelectAudio, &CPlumetaDlg::OnSelectAudio)
ON_BN_CLICKED(kSelectVideo, &CPlumetaDlg::OnSelectVideo)
ON_BN_CLICKED(kOpenBackgroundFolder, &CPlumetaDlg::OnOpenBackgroundFolder)
ON_BN_CLICKED(kOpenFaceImageFolder, &CPlumetaDlg::OnOpenFaceImageFolder)
ON_BN_CLICKED(kOpenTemplateFolder, &CPlumetaDlg::OnOpenTemplateFolder)
ON_BN_CLICKED(kOpenAudioFolder, &CPlumetaDlg::OnOpenAudioFolder)
ON_BN_CLICKED(kOpenVideoFolder, &CPlumetaDlg::OnOpenVideoFolder)
ON_BN_CLICKED(kCreateVideo, &CPlumetaDlg::OnCreateVideo)
ON_BN_CLICKED(kStopVideo, &CPlumetaDlg::OnStopVideo)
ON_BN_CLICKED(kShowOptions, &CPlumetaDlg::OnOptions)
ON_BN_CLICKED(kVisitWebSite, &CPlumetaDlg::OnVisitWebSite)
ON_COMMAND(kUsingTavrinoCommand, &CPlumetaDlg::OnVisitWebSite)
ON_COMMAND(kAboutCommand, &CPlumetaDlg::OnAppAbout)
ON_COMMAND(kExitCommand, &CPlumetaDlg::OnAppExit)
ON_COMMAND(kOpenProjectCommand, &CPlumetaDlg::OnFileOpen)
ON_COMMAND(kSaveProjectCommand, &CPlumetaDlg::OnFileSave)
ON_COMMAND(kSaveProjectAsCommand, &CPlumetaDlg::OnFileSaveAs)
ON_EN_CHANGE(kBackgroundPath, &CPlumetaDlg::OnChangeBackground)
ON_EN_CHANGE(kFaceImagePath, &CPlumetaDlg::OnChangeFaceImage)
ON_EN_CHANGE(kTemplatePath, &CPlumetaDlg::OnChangeVideoTemplate)
ON_EN_CHANGE(kAudioPath, &CPlumetaDlg::OnChangeAudio)
ON_EN_CHANGE(kOutputPath, &CPlumetaDlg::OnChangeOutputVideo)
ON_MESSAGE(WM_APPLY_AUDIO_DELAY, &CPlumetaDlg::OnFixOutputAudio)
ON_MESSAGE(WM_FOCUS_PATH, &CPlumetaDlg::OnFocusPath)
ON_MESSAGE(WM_GRAPH_NOTIFY, &CPlumetaDlg::OnGraphNotify)
ON_MESSAGE(WM_FRAME_PROGRESS, &CPlumetaDlg::OnFrameDone)
ON_MESSAGE(WM_TEMPLATE_COUNTED, &CPlumetaDlg::OnTemplateCounted)
ON_MESSAGE(WM_CREATION_DONE, &CPlumetaDlg::OnCreationDone)
END_MESSAGE_MAP()

CPlumetaDlg::CPlumetaDlg(CWnd* parent)
    : CDialog(kPlumetaDialogId, parent), projectPath_{}, folders_{}, toolTip_{}, previews_{},
      icon_(static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(kMainIcon), IMAGE_ICON, 0, 0,
                                          LR_DEFAULTSIZE | LR_SHARED)))
{}

CPlumetaDlg::~CPlumetaDlg() = default;

void CPlumetaDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kBackgroundPath, backgroundPath_);
    DDX_Control(exchange, kFaceImagePath, faceImagePath_);
    DDX_Control(exchange, kTemplatePath, templatePath_);
    DDX_Control(exchange, kAudioPath, audioPath_);
    DDX_Control(exchange, kOutputPath, outputPath_);
}

BOOL CPlumetaDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(icon_, TRUE);
    EnableToolTips(TRUE);
    PutButtonIcons(m_hWnd, nullptr);

    // One pixel more than the client area each way: the previews are painted that size.
    RECT client{};
    ::GetClientRect(::GetDlgItem(m_hWnd, kViewBackground), &client);
    HDC context = GetDC(m_hWnd);
    for (HBITMAP& preview : previews_)
        preview = CreateCompatibleBitmap(context, client.right - client.left + 1,
                                         client.bottom - client.top + 1);
    ReleaseDC(m_hWnd, context);

    FormFolderPaths();
    backgroundSource_.Create("Background", 4);
    faceSource_.Create("FaceImage", 4);
    templateSource_.Create("VideoTemplate", 4);
    videoSource_.Create("Video", 4);
    options_.CreateAndInit();
    creator_.SetSources(&backgroundSource_, &faceSource_, &templateSource_, &videoSource_);
    templateReader_.CreateGraph(nullptr, &templateSource_);
    templateReader_.SetNotifyWindow(m_hWnd, WM_GRAPH_NOTIFY);
    EnableControls(TRUE);

    char project[kPathBufferSize];
    FormProjectPath(project, kRecentProject);
    if (!FileExists(project))
        FormProjectPath(project, kDefaultProject);
    LoadProject(project);
    return TRUE;
}

void CPlumetaDlg::FormFolderPaths()
{
    char program[kPathBufferSize] = {};
    // A program path that does not fit would give the folders of another place.
    if (GetModuleFileNameA(nullptr, program, sizeof program) >= sizeof program)
        return;
    char* cut = FindLastPathSeparator(program);
    if (!cut || !IsPathSeparator(*cut))
        return;
    *cut = '\0';
    for (int folder = 0; folder < kFolderCount; ++folder)
        JoinPath(folders_[folder], kPathBufferSize, program, kFolderNames[folder]);
}

void CPlumetaDlg::FormProjectPath(char* path, const char* name) const
{
    JoinPath(path, kPathBufferSize, folders_[kProjectFolder], name);
}

BOOL CPlumetaDlg::PreTranslateMessage(MSG* message)
{
    switch (message->message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostMessage(WM_FOCUS_PATH, reinterpret_cast<WPARAM>(message->hwnd), 0);
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(message);
}

LRESULT CPlumetaDlg::OnFocusPath(WPARAM, LPARAM)
{
    if (CWnd* focus = GetFocus()) {
        if (const int field = GroupField(focus->GetDlgCtrlID()))
            ShowPath(field);
    }
    return 0;
}

void CPlumetaDlg::ShowPath(int controlId)
{
    char text[kPathBufferSize];
    GetDlgItemText(controlId, text, sizeof text);
    SetDlgItemText(kFocusPathLine, text);
}

BOOL CPlumetaDlg::OnToolTipText(UINT, NMHDR* header, LRESULT*)
{
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    if (!(request->uFlags & TTF_IDISHWND))
        return FALSE;
    HWND control = reinterpret_cast<HWND>(header->idFrom);
    if (::GetDlgCtrlID(control) == 0)
        return FALSE;
    ::GetWindowTextA(control, toolTip_, sizeof toolTip_);
    request->lpszText = toolTip_;
    return TRUE;
}

void CPlumetaDlg::OnOptions()
{
    options_.ShowWindow(options_.IsWindowVisible() ? SW_HIDE : SW_SHOWNORMAL);
}

void CPlumetaDlg::OnVisitWebSite()
{
    OpenOrTell(m_hWnd, "open", "address", kMakerPage, "Web Browser");
}

void CPlumetaDlg::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}

void CPlumetaDlg::OnAppExit()
{
    PostMessage(WM_CLOSE);
}

void CPlumetaDlg::OnOK() {}

void CPlumetaDlg::OnCancel()
{
    templateReader_.Stop();
    // The way out ends a creation as its stop does, and so leaves the file finished.
    if (creating_)
        FinishCreation();
    creator_.Stop();
    templateReader_.ReleaseGraph();
    creator_.ReleaseGraph();
    templateReading_ = false;

    char project[kPathBufferSize];
    FormProjectPath(project, kRecentProject);
    SaveProject(project);

    options_.DestroyWindow();
    cvDestroyAllWindows();
    for (HBITMAP& preview : previews_) {
        if (preview)
            DeleteObject(preview);
        preview = nullptr;
    }
    backgroundSource_.Close();
    faceSource_.Close();
    templateSource_.Close();
    videoSource_.Close();
    CDialog::OnCancel();
}
