#include "editor/app/DornavelDlg.h"

#include "editor/app/AVIToFilesDlg.h"
#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "editor/app/FilesToAVIDlg.h"
#include "editor/app/FolderPaths.h"
#include "editor/app/PageLayout.h"
#include "editor/engine/AVIToFiles.h"
#include "editor/engine/FilesToAVI.h"
#include "media/BufferFrame.h"
#include "media/FileUtils.h"
#include "media/MakerSite.h"
#include "media/ui/ShellOpen.h"
#include "platform/text/Utf8Copy.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/PictureWindows.h"

#include <algorithm>
#include <cstdio>
#include <new>

using namespace gresmont;

namespace {

// Posted by Start just before a conversion starts (wParam the converter's index); the end
// messages that arrive before it belong to the run before.
constexpr UINT kRunStarted = WM_APP + 1004;

constexpr int kAviToFiles = 0;
constexpr int kFilesToAvi = 1;
constexpr int kPageCount = 2;
constexpr int kStateRunning = 2;
constexpr int kFrameBufferConsumers = 5;
constexpr char kBitmapsFailed[] = "Writing the bitmap files failed";
constexpr char kVideoFailed[] = "Writing the video failed";
constexpr int kLongestToolTip = 79;

struct ButtonIcon {
    int button;
    int icon;
};
constexpr ButtonIcon kButtonIcons[] = {
    {kStartButton, kStartIconId}, {kStopButton, kStopIconId}, {IDCANCEL, kExitIconId}};

HICON LoadIcon(int id)
{
    return static_cast<HICON>(LoadImageA(&kEditorModule, MAKEINTRESOURCEA(static_cast<WORD>(id)),
                                         IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

// A button's caption as its tip: "&Start" reads Start ("&&" is a plain ampersand).
std::string WithoutMnemonics(const char* text)
{
    std::string plain;
    for (const char* c = text; *c; ++c) {
        if (*c == '&' && c[1])
            ++c;
        plain += *c;
    }
    return plain;
}

bool IsButton(int id)
{
    return id == kStartButton || id == kStopButton || id == IDCANCEL;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDornavelDlg, CDialog)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, &CDornavelDlg::OnToolTipText)
ON_BN_CLICKED(kStartButton, &CDornavelDlg::OnStart)
ON_BN_CLICKED(kStopButton, &CDornavelDlg::OnStop)
ON_COMMAND(kAboutCommand, &CDornavelDlg::OnAppAbout)
ON_COMMAND(kExitCommand, &CDornavelDlg::OnAppExit)
ON_COMMAND(kOpenProjectCommand, &CDornavelDlg::OnFileOpen)
ON_COMMAND(kSaveProjectCommand, &CDornavelDlg::OnFileSave)
ON_COMMAND(kSaveProjectAsCommand, &CDornavelDlg::OnFileSaveAs)
ON_COMMAND(kHelpCommand, &CDornavelDlg::OnHelpUsing)
ON_NOTIFY(TCN_SELCHANGE, kTabControl, &CDornavelDlg::OnTabSelChange)
ON_MESSAGE(kUpdateState, &CDornavelDlg::OnUpdateState)
ON_MESSAGE(kFocusText, &CDornavelDlg::OnFocusText)
ON_MESSAGE(kGraphNotify, &CDornavelDlg::OnGraphEvent)
ON_MESSAGE(kFrameDone, &CDornavelDlg::OnFrameDone)
ON_MESSAGE(kCountDone, &CDornavelDlg::OnCountDone)
ON_MESSAGE(kActivityText, &CDornavelDlg::OnStatusText)
ON_MESSAGE(kConvertDone, &CDornavelDlg::OnConvertDone)
ON_MESSAGE(kRunStarted, &CDornavelDlg::OnRunStarted)
END_MESSAGE_MAP()

CDornavelDlg::CDornavelDlg() : CDialog(kMainDialogId, nullptr), m_hIcon(LoadIcon(kProgramIconId)) {}

BOOL CDornavelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    EnableToolTips(TRUE);
    for (const ButtonIcon& entry : kButtonIcons)
        SendDlgItemMessage(entry.button, BM_SETIMAGE, IMAGE_ICON,
                           reinterpret_cast<LPARAM>(LoadIcon(entry.icon)));

    CWnd* tabs = GetDlgItem(kTabControl);
    RECT tabRectangle{};
    tabs->GetWindowRect(&tabRectangle);
    InsertPageTabs(tabs->m_hWnd);
    tabs->SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(-1));

    m_pPages[kAviToFiles] = new (std::nothrow) CAVIToFilesDlg;
    m_pPages[kFilesToAvi] = new (std::nothrow) CFilesToAVIDlg;
    m_pFrameBuffer = new (std::nothrow) CBufferFrame;
    m_pAviToFiles = new (std::nothrow) CAVIToFiles;
    m_pFilesToAvi = new (std::nothrow) CFilesToAVI;
    if (m_pFrameBuffer)
        m_pFrameBuffer->Create("Video Frame", kFrameBufferConsumers);
    if (m_pAviToFiles) {
        m_pAviToFiles->CreateGraph(nullptr, m_pFrameBuffer);
        m_pAviToFiles->SetNotifyWindow(m_hWnd, kGraphNotify);
    }
    if (m_pFilesToAvi) {
        m_pFilesToAvi->CreateGraph(nullptr, m_pFrameBuffer);
        m_pFilesToAvi->SetNotifyWindow(m_hWnd, kGraphNotify);
    }
    const UINT templates[kPageCount] = {kAviToFilesPageId, kFilesToAviPageId};
    for (int tab = 0; tab < kPageCount; ++tab) {
        if (m_pPages[tab] &&
            !m_pPages[tab]->CreatePage(this, tabRectangle, templates[tab], Converter(tab))) {
            delete m_pPages[tab];
            m_pPages[tab] = nullptr;
        }
    }

    const std::string projectFolder = ProgramSubfolder("VideoTemplateProject");
    if (!projectFolder.empty()) {
        CopyTextCut(m_szProjectFolder, sizeof m_szProjectFolder, projectFolder);
        // Made now, so that the save on the way out has its folder.
        CreateFolderPath(m_szProjectFolder, 1);
    }
    CWinApp* app = AfxGetApp();
    const char* commandLine = app ? SkipSpaces(app->m_lpCmdLine) : nullptr;
    std::string project = RecentProjectPath();
    if (!FileExists(project.c_str()))
        project = JoinedPath(m_szProjectFolder, "DefaultProject.avp");
    LoadProject(project.c_str(), commandLine && *commandLine ? commandLine : nullptr);
    for (CTabDlg* page : m_pPages) {
        if (page)
            page->SetDefaults();
    }

    UpdateState(kRefresh);
    GetDlgItem(kStartButton)->SetFocus();
    OnTabSelChange(nullptr, nullptr);
    return FALSE;
}

void CDornavelDlg::OnCancel()
{
    SaveProject(RecentProjectPath().c_str());
    for (CTabDlg*& page : m_pPages) {
        if (page) {
            page->ClosePage();
            delete page;
            page = nullptr;
        }
    }
    cvDestroyAllWindows();
    if (m_pAviToFiles)
        m_pAviToFiles->ReleaseGraph();
    if (m_pFilesToAvi)
        m_pFilesToAvi->Shutdown();
    delete m_pAviToFiles;
    m_pAviToFiles = nullptr;
    delete m_pFilesToAvi;
    m_pFilesToAvi = nullptr;
    if (m_pFrameBuffer)
        m_pFrameBuffer->Close();
    delete m_pFrameBuffer;
    m_pFrameBuffer = nullptr;
    CDialog::OnCancel();
}

BOOL CDornavelDlg::PreTranslateMessage(MSG* message)
{
    const bool press = message->message == WM_LBUTTONDOWN ||
                       (message->message == WM_KEYDOWN && message->wParam == VK_SPACE);
    // A preview brought up to date before Start takes the click.
    if (press && message->hwnd == ::GetDlgItem(m_hWnd, kStartButton))
        RefreshPage(CurrentTab(), SW_SHOW);
    return CDialog::PreTranslateMessage(message);
}

BOOL CDornavelDlg::OnToolTipText(UINT, NMHDR* header, LRESULT*)
{
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    if (!(request->uFlags & TTF_IDISHWND))
        return FALSE;
    const HWND control = reinterpret_cast<HWND>(header->idFrom);
    const int id = ::GetDlgCtrlID(control);
    if (id == 0)
        return FALSE;
    char text[kPathBufferSize];
    ::GetWindowTextA(control, text, sizeof text);
    const std::string tip = IsButton(id) ? WithoutMnemonics(text) : std::string(text);
    CopyTextCut(request->szText, kLongestToolTip + 1, tip);
    return TRUE;
}

void CDornavelDlg::OnStart()
{
    CTabDlg* page = Page(CurrentTab());
    if (!page)
        return;
    page->ApplySettings();
    const int index = IndexOf(page->GetConverter());
    if (index >= 0) {
        ++m_startsInFlight[index];
        PostMessage(kRunStarted, static_cast<WPARAM>(index));
    }
    if (!page->Start()) {
        // A run that cannot start (an output that is one of its inputs, a compressor that
        // refuses the frames, an output that cannot be written) wrote nothing: it is told
        // as a run that fails on the way, never left to pass for one that went well.
        if (index >= 0)
            SetDlgItemText(kProgressLine, index == kAviToFiles ? kBitmapsFailed : kVideoFailed);
        return;
    }
    UpdateState(kStarted);
    OnStatusText(0, index >= 0 ? SenderOf(index) : 0);
}

void CDornavelDlg::OnStop()
{
    if (CTabDlg* page = Page(CurrentTab())) {
        CVideoGraph* converter = page->GetConverter();
        const int state = converter ? converter->GetState() : 0;
        if (page->Stop() && state == kStateRunning)
            SetDlgItemText(kFieldLine, "");
    }
    UpdateState(kStopped);
}

void CDornavelDlg::OnAppAbout()
{
    CDialog about(kAboutDialogId, this);
    about.DoModal();
}

void CDornavelDlg::OnAppExit()
{
    PostMessage(WM_CLOSE);
}

void CDornavelDlg::OnHelpUsing()
{
    OpenOrTell(m_hWnd, "open", "address", kMakerPage, "Web Browser");
}

void CDornavelDlg::OnTabSelChange(NMHDR* header, LRESULT* result)
{
    const int tab = CurrentTab();
    for (int index = 0; index < kPageCount; ++index) {
        if (m_pPages[index])
            m_pPages[index]->ShowPage(index == tab ? SW_SHOW : SW_HIDE);
    }
    if (result)
        *result = 0;
    if (header)
        GetDlgItem(kTabControl)->SetFocus();
    UpdateState(kChanged);
    ShowFocusText();
}

LRESULT CDornavelDlg::OnUpdateState(WPARAM mode, LPARAM)
{
    UpdateState(mode);
    return 0;
}

void CDornavelDlg::UpdateState(WPARAM mode)
{
    CTabDlg* page = Page(CurrentTab());
    CVideoGraph* converter = page ? page->GetConverter() : nullptr;
    const int count = converter ? converter->GetFrameCount() : -1;
    const bool ready = converter && converter->HasFrames();
    const bool running = converter && converter->GetState() == kStateRunning;
    const bool canStart = page && page->CanStart();
    GetDlgItem(kStartButton)->EnableWindow(!running && canStart && ready);
    GetDlgItem(kStopButton)->EnableWindow(running && canStart && ready);
    GetDlgItem(kTabControl)->EnableWindow(!running);
    for (CTabDlg* each : m_pPages) {
        if (each)
            each->EnableFields(!running);
    }
    ::EnableMenuItem(::GetSubMenu(::GetMenu(m_hWnd), 0), kOpenProjectCommand,
                     MF_BYCOMMAND | (running ? MF_GRAYED | MF_DISABLED : MF_ENABLED));
    switch (mode) {
    case kStarted:
        ShowProgress(nullptr, -1);
        break;
    case kChanged:
        ShowProgress(nullptr, count);
        break;
    case kStopped:
        ShowProgress(converter, count);
        break;
    default:
        break;
    }
}

LRESULT CDornavelDlg::OnFocusText(WPARAM, LPARAM)
{
    ShowFocusText();
    return 0;
}

// The path field that belongs to the focused field or to one of its buttons.
void CDornavelDlg::ShowFocusText()
{
    const HWND focus = ::GetFocus();
    const int id = focus ? ::GetDlgCtrlID(focus) : 0;
    const HWND page = focus ? ::GetParent(focus) : nullptr;
    switch (id) {
    case kSelectAviButton:
    case kPlayButton:
    case kAviField:
        ShowFieldText(page, kAviField);
        break;
    case kSelectFolderButton:
    case kOpenFolderButton:
    case kFolderField:
        RefreshPage(CurrentTab(), SW_SHOW);
        ShowFieldText(page, kFolderField);
        break;
    case kSelectFirstButton:
    case kOpenFirstButton:
    case kFirstField:
        RefreshPage(CurrentTab(), SW_SHOW);
        ShowFieldText(page, kFirstField);
        break;
    case kSelectLastButton:
    case kOpenLastButton:
    case kLastField:
        RefreshPage(CurrentTab(), SW_SHOW);
        ShowFieldText(page, kLastField);
        break;
    case kStepList:
        RefreshPage(CurrentTab(), SW_SHOW);
        ShowFieldText(page, kStepList);
        break;
    case kRateList:
    case kCompressorList:
        ShowFieldText(page, id);
        break;
    default:
        SetDlgItemText(kFieldLine, "");
        break;
    }
}

void CDornavelDlg::ShowFieldText(HWND page, int id)
{
    char text[kPathBufferSize] = "";
    if (page && id)
        ::GetDlgItemTextA(page, id, text, sizeof text);
    SetDlgItemText(kFieldLine, text);
}

LRESULT CDornavelDlg::OnGraphEvent(WPARAM, LPARAM sender)
{
    switch (ConverterIndex(sender)) {
    case kAviToFiles:
        m_pAviToFiles->HandleGraphEvents();
        break;
    case kFilesToAvi:
        m_pFilesToAvi->HandleGraphEvents();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CDornavelDlg::OnFrameDone(WPARAM index, LPARAM sender)
{
    const int n = static_cast<int>(index) + 1;
    switch (ConverterIndex(sender)) {
    case kAviToFiles:
        ShowProgress(m_pAviToFiles, n);
        break;
    case kFilesToAvi:
        if (n >= m_pFilesToAvi->GetFrameCount())
            ShowProgress(m_pFilesToAvi, n);
        // The latest frame into the preview; a frame that arrives late, under the other
        // tab, shows no page there.
        if (CurrentTab() == kFilesToAvi)
            RefreshPage(kFilesToAvi, SW_SHOW);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CDornavelDlg::OnCountDone(WPARAM count, LPARAM sender)
{
    const int index = ConverterIndex(sender);
    if (index < 0 || EndOfAnEarlierRun(index))
        return 0;
    OnStop();
    ShowProgress(nullptr, static_cast<int>(count));
    return 0;
}

LRESULT CDornavelDlg::OnStatusText(WPARAM counting, LPARAM sender)
{
    const int index = ConverterIndex(sender);
    if (index < 0)
        return 0;
    const char* text = counting               ? "Counting number of frame ..."
                       : index == kAviToFiles ? "Processing AVI file to bitmap files ..."
                                              : "Processing bitmap files to AVI file ...";
    SetDlgItemText(kFieldLine, text);
    return 0;
}

LRESULT CDornavelDlg::OnConvertDone(WPARAM frames, LPARAM sender)
{
    const int index = ConverterIndex(sender);
    if (index < 0 || EndOfAnEarlierRun(index))
        return 0;
    OnStop();
    // A run that failed on the way has no finished count to show.
    if (index == kAviToFiles && m_pAviToFiles->WriteFailed())
        SetDlgItemText(kProgressLine, kBitmapsFailed);
    else if (index == kFilesToAvi && m_pFilesToAvi->Failed())
        SetDlgItemText(kProgressLine, kVideoFailed);
    else
        ShowProgress(Converter(index), static_cast<int>(frames));
    return 0;
}

LRESULT CDornavelDlg::OnRunStarted(WPARAM converter, LPARAM)
{
    const int index = static_cast<int>(converter);
    if (index >= 0 && index < kPageCount && m_startsInFlight[index] > 0)
        --m_startsInFlight[index];
    return 0;
}

void CDornavelDlg::ShowProgress(CVideoGraph* graph, int n)
{
    const int count = graph ? graph->GetFrameCount() : -1;
    char text[260] = "";
    if (n >= 0 && count > 0) {
        const long long percent = std::clamp(static_cast<long long>(n) * 100 / count, 0LL, 100LL);
        std::snprintf(text, sizeof text, "Frame %d of %d (%d%%)", std::min(n, count), count,
                      static_cast<int>(percent));
    } else if (n >= 0) {
        std::snprintf(text, sizeof text, "%d frame%s", n, n > 1 ? "s" : "");
    }
    SetDlgItemText(kProgressLine, text);
}

void CDornavelDlg::RefreshPage(int tab, int command)
{
    if (tab == kFilesToAvi && m_pPages[kFilesToAvi])
        m_pPages[kFilesToAvi]->ShowPage(command);
}

int CDornavelDlg::CurrentTab() const
{
    return static_cast<int>(::SendDlgItemMessageA(m_hWnd, kTabControl, TCM_GETCURSEL, 0, 0));
}

CTabDlg* CDornavelDlg::Page(int tab) const
{
    // A tab value from a project file may be any number; only 0 and 1 name pages.
    return tab >= 0 && tab < kPageCount ? m_pPages[tab] : nullptr;
}

int CDornavelDlg::ConverterIndex(LPARAM sender) const
{
    for (int index = 0; index < kPageCount; ++index) {
        if (sender != 0 && sender == SenderOf(index))
            return index;
    }
    return -1;
}

int CDornavelDlg::IndexOf(const CVideoGraph* converter) const
{
    for (int index = 0; index < kPageCount; ++index) {
        if (converter && converter == Converter(index))
            return index;
    }
    return -1;
}

// The converter as its messages name it: the address of the converter object itself.
LPARAM CDornavelDlg::SenderOf(int index) const
{
    if (index == kAviToFiles)
        return reinterpret_cast<LPARAM>(m_pAviToFiles);
    return index == kFilesToAvi ? reinterpret_cast<LPARAM>(m_pFilesToAvi) : 0;
}

CVideoGraph* CDornavelDlg::Converter(int index) const
{
    if (index == kAviToFiles)
        return m_pAviToFiles;
    return index == kFilesToAvi ? m_pFilesToAvi : nullptr;
}

bool CDornavelDlg::EndOfAnEarlierRun(int converter) const
{
    return m_startsInFlight[converter] > 0;
}

std::string CDornavelDlg::RecentProjectPath() const
{
    return JoinedPath(m_szProjectFolder, "RecentProject.tmp");
}
