#include "editor/app/FilesToAVIDlg.h"

#include "editor/app/EditorIds.h"
#include "editor/app/FolderPaths.h"
#include "editor/app/NumberedNames.h"
#include "editor/engine/FilesToAVI.h"
#include "editor/engine/SettingRanges.h"
#include "media/FileUtils.h"
#include "media/ProfileUtils.h"
#include "media/ui/CompressorCombo.h"
#include "media/ui/PictureWindow.h"

#include <cstdio>
#include <ctime>

using namespace gresmont;

namespace {

constexpr char kPreviewWindow[] = "Files to AVI";

// Compressors the editor does not offer: every list item that begins with one of these.
constexpr const char* kExcludedCompressors[] = {
    "Microsoft H.261 Video Codec",
    "Microsoft H.263 Video Codec",
    "MSScreen encoder DMO",
    "MSScreen 9 encoder DMO",
    "WMVideo Encoder DMO",
    "WMVideo9 Encoder DMO",
    "Cinepak Codec",
    "Intel 4:2:0",
    "Intel IYUV",
    "Microsoft RLE",
    "Microsoft Video 1",
};

// The output's default: the program's "VideoTemplate" folder and a name of the local
// time, such as 091231_235959.avi.
std::string DatedOutputName()
{
    const std::string folder = ProgramSubfolder("VideoTemplate");
    if (folder.empty())
        return {};
    CreateFolderPath(folder.c_str(), 1);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[32];
    std::snprintf(name, sizeof name, "%02d%02d%02d_%02d%02d%02d.avi", local.tm_year % 100,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return JoinedPath(folder, name);
}

}  // namespace

void FillVideoCompressorList(HWND page)
{
    HWND list = GetDlgItem(page, kCompressorList);
    FillCompressorCombo(list, CLSID_VideoCompressorCategory);
    for (const char* excluded : kExcludedCompressors)
        RemoveCompressorsBeginningWith(list, excluded);
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}

std::string FrameRateText(int hundredths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d frame/sec", hundredths / 100, hundredths % 100);
    return text;
}

void FillFrameRateList(HWND page)
{
    SendDlgItemMessageA(page, kRateList, CB_RESETCONTENT, 0, 0);
    for (int rate = kLowestFrameRateHundredths; rate <= kHighestFrameRateHundredths; ++rate) {
        const std::string item = FrameRateText(rate);
        SendDlgItemMessageA(page, kRateList, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendDlgItemMessageA(page, kRateList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("2.0"));
}

BEGIN_MESSAGE_MAP(CFilesToAVIDlg, CTabDlg)
ON_BN_CLICKED(kSelectLastButton, &CFilesToAVIDlg::OnSelectLastFile)
ON_BN_CLICKED(kOpenLastButton, &CFilesToAVIDlg::OnOpenLastFile)
ON_EN_CHANGE(kAviField, &CFilesToAVIDlg::OnChangeOutputFile)
ON_EN_CHANGE(kFirstField, &CFilesToAVIDlg::OnChangeFirstFile)
ON_EN_CHANGE(kLastField, &CFilesToAVIDlg::OnChangeLastFile)
ON_EN_CHANGE(kFolderField, &CFilesToAVIDlg::OnChangeFolder)
ON_CBN_SELCHANGE(kStepList, &CFilesToAVIDlg::OnChangeStep)
ON_CBN_SELCHANGE(kRateList, &CFilesToAVIDlg::OnChangeRate)
ON_CBN_SELCHANGE(kCompressorList, &CFilesToAVIDlg::OnChangeCompressor)
END_MESSAGE_MAP()

BOOL CFilesToAVIDlg::CreatePage(CWnd* parent, RECT rectangle, UINT templateId,
                                CVideoGraph* converter)
{
    m_pConverter = dynamic_cast<CFilesToAVI*>(converter);
    if (!CTabDlg::CreatePage(parent, rectangle, templateId, converter))
        return FALSE;
    FillFrameRateList(m_hWnd);
    FillVideoCompressorList(m_hWnd);
    return TRUE;
}

CVideoGraph* CFilesToAVIDlg::GetConverter()
{
    return m_pConverter;
}

void CFilesToAVIDlg::DoDataExchange(CDataExchange* exchange)
{
    CTabDlg::DoDataExchange(exchange);
    DDX_Control(exchange, kAviField, m_editOutputFile);
    DDX_Control(exchange, kFirstField, m_editFirstFile);
    DDX_Control(exchange, kLastField, m_editLastFile);
    DDX_Control(exchange, kFolderField, m_editFolder);
}

BOOL CFilesToAVIDlg::CanStart()
{
    std::string first = FieldText(kFirstField);
    std::string last = FieldText(kLastField);
    return IsWritableFilePath(FieldText(kAviField).c_str()) &&
           FolderExists(TrimFolder(FieldText(kFolderField).c_str()).c_str()) &&
           GetFileNumber(first.data(), -1) >= 0 && GetFileNumber(last.data(), -1) >= 0 &&
           StepValue() >= 1 && ParseLeadingNumber(FieldText(kRateList).c_str()) >= 0 &&
           SendDlgItemMessage(kCompressorList, CB_GETCURSEL) != CB_ERR;
}

BOOL CFilesToAVIDlg::SetDefaults()
{
    NormaliseNumberedName(kFirstField, kLastField);
    NormaliseNumberedName(kLastField, kFirstField);
    if (!*SkipSpaces(FieldText(kAviField).c_str()))
        SetDlgItemText(kAviField, DatedOutputName().c_str());
    SetDefaultImageFolder();
    return TRUE;
}

void CFilesToAVIDlg::ApplySettings()
{
    const std::string output = FieldText(kAviField);
    const std::string folder = TrimFolder(FieldText(kFolderField).c_str());
    std::string first = FieldText(kFirstField);
    std::string last = FieldText(kLastField);
    const float rate = static_cast<float>(ParseLeadingNumber(FieldText(kRateList).c_str()));
    const int step = StepValue();
    const int firstNumber = GetFileNumber(first.data(), 0);
    const int lastNumber = GetFileNumber(last.data(), 0);
    if (!m_pConverter || GetFileNumber(first.data(), -1) < 0)
        return;
    // The prefix may be empty: blank fields normalise to names such as 00000.bmp, which
    // the other page writes.
    char prefix[kPathBufferSize] = "";
    GetFilePrefix(first.data(), prefix, sizeof prefix);
    // The folder and prefix go in as text: the converter takes only the last "%05d" for
    // the number, so a "%" in either names itself. A pattern too long for a path is
    // empty, which names no bitmap.
    const std::string pattern = JoinedPath(folder, std::string(prefix) + "%05d.bmp");
    m_pConverter->SetSettings(output.c_str(), pattern.c_str(), FieldText(kCompressorList).c_str(),
                              rate, firstNumber, lastNumber, step);
    ShowPreview(IsWindowVisible() && m_pConverter->HasFrames() ? SW_SHOW : SW_HIDE);
}

BOOL CFilesToAVIDlg::ShowPreview(int command)
{
    CBufferFrame* frames = m_pConverter ? m_pConverter->FrameSource() : nullptr;
    FrameRecord copy{};
    const bool held = frames && frames->GetFrame(&copy) && copy.image;
    if (held && command == SW_SHOW) {
        cvNamedWindow(kPreviewWindow, CV_WINDOW_AUTOSIZE);
        cvShowImage(kPreviewWindow, copy.image);
    }
    delete copy.image;
    if (held && command != SW_HIDE)
        return command == SW_SHOW;
    cvDestroyWindow(kPreviewWindow);
    return FALSE;
}

BOOL CFilesToAVIDlg::ShowPage(int command)
{
    const bool preview = command == SW_SHOW && m_pConverter && m_pConverter->HasFrames();
    ShowPreview(preview ? SW_SHOW : SW_HIDE);
    return ShowWindow(command);
}

BOOL CFilesToAVIDlg::Start()
{
    return m_pConverter && m_pConverter->BuildAndRun();
}

BOOL CFilesToAVIDlg::Stop()
{
    return m_pConverter && m_pConverter->Close();
}

void CFilesToAVIDlg::OnSelectLastFile()
{
    ChooseFileIntoField(FALSE, kBitmapFileFilter, kLastField, kFolderField);
}

void CFilesToAVIDlg::OnOpenLastFile()
{
    OpenFileInFolder(kLastField);
}

void CFilesToAVIDlg::OnChangeOutputFile()
{
    ReportField(kAviField);
    PostToParent(kUpdateState, kRefresh);
}

void CFilesToAVIDlg::OnChangeFirstFile()
{
    NormaliseNumberedName(kFirstField, kLastField);
    ApplySettings();
    ReportField(kFirstField);
    PostToParent(kUpdateState, kChanged);
}

void CFilesToAVIDlg::OnChangeLastFile()
{
    NormaliseNumberedName(kLastField, kFirstField);
    ApplySettings();
    ReportField(kLastField);
    PostToParent(kUpdateState, kChanged);
}

void CFilesToAVIDlg::OnChangeFolder()
{
    ApplySettings();
    ReportField(kFolderField);
    PostToParent(kUpdateState, kChanged);
}

void CFilesToAVIDlg::OnChangeStep()
{
    ApplySettings();
    ReportField(kStepList);
    PostToParent(kUpdateState, kChanged);
}

void CFilesToAVIDlg::OnChangeRate()
{
    ApplySettings();
    ReportField(kRateList);
}

void CFilesToAVIDlg::OnChangeCompressor()
{
    ReportField(kCompressorList);
}
