#include "editor/app/TabDlg.h"

#include "editor/app/EditorIds.h"
#include "editor/app/FolderPaths.h"
#include "editor/app/NumberedNames.h"
#include "editor/app/PageLayout.h"
#include "media/FileUtils.h"
#include "media/ui/PathField.h"
#include "media/ui/Pickers.h"
#include "media/ui/ShellOpen.h"
#include "platform/text/Utf8Copy.h"

#include <cstdlib>
#include <cstring>

using namespace gresmont;

namespace {

// Every field and button either page may have, in the order they are enabled.
constexpr int kFields[] = {
    kSelectAviButton,  kPlayButton,      kSelectFolderButton, kSelectFirstButton, kSelectLastButton,
    kOpenFolderButton, kOpenFirstButton, kOpenLastButton,     kStepList,          kRateList,
    kCompressorList,   kAviField,        kFirstField,         kLastField,         kFolderField};

constexpr int kNumberDigits = 5;
constexpr int kLargestNumber = 99999;

bool EndsInSeparatorOrColon(const std::string& text)
{
    return !text.empty() && (IsPathSeparator(text.back()) || text.back() == ':');
}

}  // namespace

BEGIN_MESSAGE_MAP(CTabDlg, CDialog)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, &CTabDlg::OnToolTipNeedText)
ON_BN_CLICKED(kSelectAviButton, &CTabDlg::OnSelectAviFile)
ON_BN_CLICKED(kSelectFirstButton, &CTabDlg::OnSelectFirstFile)
ON_BN_CLICKED(kSelectFolderButton, &CTabDlg::OnSelectFolder)
ON_BN_CLICKED(kOpenFirstButton, &CTabDlg::OnOpenFirstFile)
ON_BN_CLICKED(kOpenFolderButton, &CTabDlg::OnOpenFolder)
ON_BN_CLICKED(kPlayButton, &CTabDlg::OnPlay)
END_MESSAGE_MAP()

BOOL CTabDlg::CreatePage(CWnd* parent, RECT rectangle, UINT templateId, CVideoGraph*)
{
    if (!Create(templateId, parent))
        return FALSE;
    EnableToolTips(TRUE);
    const RECT place = PageRectangle(rectangle);
    MoveWindow(place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    m_szToolTip[0] = '\0';
    SetPageIcons(m_hWnd);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    FillStepList(m_hWnd);
    return TRUE;
}

void CTabDlg::ClosePage()
{
    Stop();
    DestroyWindow();
}

BOOL CTabDlg::SelectComboText(const char* text, int comboId)
{
    const LRESULT found = SendDlgItemMessage(comboId, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text));
    if (found == CB_ERR)
        return FALSE;
    SendDlgItemMessage(comboId, CB_SETCURSEL, static_cast<WPARAM>(found));
    return TRUE;
}

BOOL CTabDlg::EnableFields(BOOL enable)
{
    for (int id : kFields) {
        if (CWnd* field = GetDlgItem(id))
            field->EnableWindow(enable);
    }
    return TRUE;
}

BOOL CTabDlg::SetDefaultImageFolder()
{
    if (*SkipSpaces(FieldText(kFolderField).c_str()))
        return TRUE;
    const std::string folder = ProgramSubfolder("VideoTemplateImages");
    if (folder.empty())
        return TRUE;
    CreateFolderPath(folder.c_str(), 1);
    SetDlgItemText(kFolderField, folder.c_str());
    return TRUE;
}

BOOL CTabDlg::NormaliseNumberedName(int fieldId, int partnerId)
{
    CWnd* field = GetDlgItem(fieldId);
    if (!field)
        return FALSE;
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    field->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                       reinterpret_cast<LPARAM>(&selectionEnd));
    char kept[kPathBufferSize];
    char name[kPathBufferSize];
    field->GetWindowText(kept, sizeof kept);
    std::strcpy(name, kept);
    StripFolder(name);
    SetExtension(name, "bmp", sizeof name);
    int number = GetFileNumber(name, 0);
    if (number > kLargestNumber)
        number /= 10;
    SetFileNumber(name, sizeof name, kNumberDigits, number < 0 ? 0 : number);
    const BOOL changed = std::strcmp(name, kept) != 0;
    // A blank field has no prefix of its own: it takes its normal form without handing
    // the empty prefix to its partner, also in the change its own rewrite raises, so that
    // a last file missing from a project does not strip the first file's prefix.
    const bool blank = !*SkipSpaces(kept);
    const int fillingBefore = m_fillingBlankField;
    if (blank)
        m_fillingBlankField = fieldId;
    if (changed)
        field->SetWindowText(name);
    m_fillingBlankField = fillingBefore;
    CWnd* partner = partnerId ? GetDlgItem(partnerId) : nullptr;
    if (partner && !blank && m_fillingBlankField != fieldId) {
        char other[kPathBufferSize];
        partner->GetWindowText(other, sizeof other);
        char prefix[kPathBufferSize] = "";
        char otherPrefix[kPathBufferSize] = "";
        GetFilePrefix(name, prefix, sizeof prefix);
        GetFilePrefix(other, otherPrefix, sizeof otherPrefix);
        // An empty partner has no name to give the prefix to; it stays empty.
        if (std::strcmp(prefix, otherPrefix) != 0 && ReplacePrefix(other, prefix, sizeof other))
            partner->SetWindowText(other);
    }
    field->SendMessage(EM_SETSEL, selectionStart, static_cast<LPARAM>(selectionEnd));
    return changed;
}

void CTabDlg::OpenWithShell(const char* verb, const char* description, const char* file)
{
    OpenOrTell(m_hWnd, verb, "file", file, description);
}

void CTabDlg::OpenFieldWithShell(const char* verb, const char* description, int fieldId)
{
    char path[kPathBufferSize];
    ReadResolvedPathField(m_hWnd, fieldId, path);
    OpenWithShell(verb, description, path);
}

void CTabDlg::OpenFileInFolder(int fieldId)
{
    const std::string folder = TrimBlanks(FieldText(kFolderField).c_str());
    const std::string name = FieldText(fieldId);
    // A path too long for a buffer is opened nowhere rather than cut into another file.
    const std::string path =
        folder.empty() || EndsInSeparatorOrColon(folder) ? folder + name : JoinedPath(folder, name);
    if (path.size() < kPathBufferSize)
        OpenWithShell("open", "Image Editor", path.c_str());
}

void CTabDlg::OpenFolderField(int fieldId)
{
    char folder[kPathBufferSize];
    CopyTextCut(folder, sizeof folder, SkipSpaces(FieldText(fieldId).c_str()));
    for (;;) {
        if (*folder) {
            if (!FolderExists(folder) && CreateFolderPath(folder, 1))
                PostToParent(kUpdateState, kRefresh);
            if (OpenFolderOrTell(m_hWnd, folder))
                return;
        }
        if (!ChooseFolder(m_hWnd, folder) || !*folder)
            return;
    }
}

void CTabDlg::BrowseFolderIntoField(int fieldId)
{
    char folder[kPathBufferSize];
    GetDlgItemText(fieldId, folder, sizeof folder);
    if (ChooseFolder(m_hWnd, folder) && *folder)
        SetDlgItemText(fieldId, folder);
}

void CTabDlg::ChooseFileIntoField(BOOL keepFolder, const char* filter, int fieldId,
                                  int folderFieldId)
{
    const std::string start = FieldText(folderFieldId);
    char file[kPathBufferSize];
    GetDlgItemText(fieldId, file, sizeof file);
    if (!ChooseFile(m_hWnd, "Open", start.c_str(), filter, nullptr, file, sizeof file, 0))
        return;
    if (!keepFolder)
        StripFolder(file);
    SetDlgItemText(fieldId, file);
}

BOOL CTabDlg::OnToolTipNeedText(UINT, NMHDR* header, LRESULT*)
{
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    if (!(request->uFlags & TTF_IDISHWND))
        return FALSE;
    const HWND control = reinterpret_cast<HWND>(header->idFrom);
    if (::GetDlgCtrlID(control) == 0)
        return FALSE;
    // By window, not by id: the labels share one id.
    ::GetWindowTextA(control, m_szToolTip, sizeof m_szToolTip);
    request->lpszText = m_szToolTip;
    return TRUE;
}

BOOL CTabDlg::PreTranslateMessage(MSG* message)
{
    switch (message->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostToParent(kFocusText, reinterpret_cast<WPARAM>(message->hwnd));
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(message);
}

std::string CTabDlg::FieldText(int id) const
{
    return PathFieldText(m_hWnd, id);
}

int CTabDlg::StepValue() const
{
    return std::atoi(SkipSpaces(FieldText(kStepList).c_str()));
}

void CTabDlg::PostToParent(UINT message, WPARAM wParam)
{
    ::PostMessageA(::GetParent(m_hWnd), message, wParam, 0);
}

void CTabDlg::ReportField(int id)
{
    CWnd* field = GetDlgItem(id);
    PostToParent(kFocusText, reinterpret_cast<WPARAM>(field ? field->m_hWnd : nullptr));
}

void CTabDlg::OnSelectAviFile()
{
    ChooseFileIntoField(TRUE, kAviFileFilter, kAviField, kAviField);
}

void CTabDlg::OnSelectFirstFile()
{
    ChooseFileIntoField(FALSE, kBitmapFileFilter, kFirstField, kFolderField);
}

void CTabDlg::OnSelectFolder()
{
    BrowseFolderIntoField(kFolderField);
}

void CTabDlg::OnOpenFirstFile()
{
    OpenFileInFolder(kFirstField);
}

void CTabDlg::OnOpenFolder()
{
    OpenFolderField(kFolderField);
}

void CTabDlg::OnPlay()
{
    OpenFieldWithShell("play", "Video Player", kAviField);
}
