#include "editor/app/AVIToFilesDlg.h"

#include "editor/app/EditorIds.h"
#include "editor/app/FolderPaths.h"
#include "editor/app/NumberedNames.h"
#include "editor/engine/AVIToFiles.h"
#include "media/FileUtils.h"

#include <algorithm>

using namespace gresmont;

namespace {

constexpr int kLargestStep = 100;
constexpr int kCountEveryFrame = 0x7FFFFFFF;

}  // namespace

BEGIN_MESSAGE_MAP(CAVIToFilesDlg, CTabDlg)
ON_EN_CHANGE(kAviField, &CAVIToFilesDlg::OnChangeAviFile)
ON_EN_CHANGE(kFirstField, &CAVIToFilesDlg::OnChangeFirstFile)
ON_EN_CHANGE(kFolderField, &CAVIToFilesDlg::OnChangeFolder)
ON_CBN_SELCHANGE(kStepList, &CAVIToFilesDlg::OnChangeStep)
END_MESSAGE_MAP()

BOOL CAVIToFilesDlg::CreatePage(CWnd* parent, RECT rectangle, UINT templateId,
                                CVideoGraph* converter)
{
    m_pConverter = dynamic_cast<CAVIToFiles*>(converter);
    return CTabDlg::CreatePage(parent, rectangle, templateId, converter);
}

CVideoGraph* CAVIToFilesDlg::GetConverter()
{
    return m_pConverter;
}

void CAVIToFilesDlg::DoDataExchange(CDataExchange* exchange)
{
    CTabDlg::DoDataExchange(exchange);
    DDX_Control(exchange, kAviField, m_editAviFile);
    DDX_Control(exchange, kFirstField, m_editFirstFile);
    DDX_Control(exchange, kFolderField, m_editFolder);
}

std::string CAVIToFilesDlg::InputFile()
{
    // Trimmed as the converter trims it; a name that exists only beside the program is
    // handed over as that path, since the converter opens it against the working folder.
    return ExistingFilePath(TrimBlanks(FieldText(kAviField).c_str()).c_str());
}

BOOL CAVIToFilesDlg::CanStart()
{
    // The folder is trimmed as Start trims it, so that what is checked is what a
    // conversion would use.
    std::string first = FieldText(kFirstField);
    return !InputFile().empty() &&
           FolderExists(TrimFolder(FieldText(kFolderField).c_str()).c_str()) &&
           GetFileNumber(first.data(), -1) >= 0 && StepValue() >= 1;
}

BOOL CAVIToFilesDlg::SetDefaults()
{
    NormaliseNumberedName(kFirstField, 0);
    SetDefaultImageFolder();
    return TRUE;
}

BOOL CAVIToFilesDlg::ShowPreview(int)
{
    return FALSE;
}

BOOL CAVIToFilesDlg::ShowPage(int command)
{
    const BOOL wasVisible = ShowWindow(command);
    if (command != SW_HIDE)
        UpdateFrameCount();
    return wasVisible;
}

BOOL CAVIToFilesDlg::Start()
{
    if (!m_pConverter)
        return FALSE;
    std::string input = InputFile();
    const std::string folder = TrimFolder(FieldText(kFolderField).c_str());
    std::string first = FieldText(kFirstField);
    const int number = GetFileNumber(first.data(), 0);
    const int step = std::clamp(StepValue(), 1, kLargestStep);
    char prefix[kPathBufferSize] = "";
    GetFilePrefix(first.data(), prefix, sizeof prefix);
    // The folder and prefix go in as text: the converter takes only the last "%05d" for
    // the number, so a "%" in either names itself.
    const std::string pattern = JoinedPath(folder, std::string(prefix) + "%05d.bmp");
    // A pattern too long for a path names no bitmap that could be written.
    if (pattern.empty())
        return FALSE;
    return m_pConverter->Convert(input.data(), pattern.c_str(), number, step);
}

BOOL CAVIToFilesDlg::Stop()
{
    if (!m_pConverter)
        return FALSE;
    return m_pConverter->Stop() && m_pConverter->Close();
}

void CAVIToFilesDlg::ApplySettings() {}

BOOL CAVIToFilesDlg::UpdateFrameCount()
{
    if (!m_pConverter)
        return FALSE;
    std::string input = InputFile();
    if (input.empty()) {
        std::string typed = FieldText(kAviField);
        m_pConverter->SetInputFile(typed.data());
        return FALSE;
    }
    m_pConverter->SetInputFile(input.data());
    if (m_pConverter->GetFrameCount() >= 0)
        return TRUE;
    return m_pConverter->CountFrames(input.data(), kCountEveryFrame, CAVIToFiles::kMaxFrameLimit);
}

void CAVIToFilesDlg::OnChangeAviFile()
{
    if (IsWindowVisible())
        UpdateFrameCount();
    ReportField(kAviField);
    PostToParent(kUpdateState, kChanged);
}

void CAVIToFilesDlg::OnChangeFirstFile()
{
    NormaliseNumberedName(kFirstField, 0);
    ReportField(kFirstField);
    PostToParent(kUpdateState, kRefresh);
}

void CAVIToFilesDlg::OnChangeFolder()
{
    ReportField(kFolderField);
    PostToParent(kUpdateState, kRefresh);
}

void CAVIToFilesDlg::OnChangeStep()
{
    ReportField(kStepList);
}
