// The main dialog's project files ("AVI Project (*.avp)"): the selected tab and the texts
// of both pages' fields in three INI sections.

#include "editor/app/DornavelDlg.h"

#include "editor/app/EditorIds.h"
#include "editor/app/TabDlg.h"
#include "media/FileUtils.h"
#include "media/ProfileUtils.h"
#include "media/ui/PathField.h"
#include "media/ui/Pickers.h"
#include "platform/text/Utf8Copy.h"
#include "platform/win/Profile.h"

#include <cstdlib>
#include <string>

using namespace gresmont;

namespace {

constexpr char kTabSection[] = "Tab";
constexpr char kAviToFilesSection[] = "AVI to Files";
constexpr char kFilesToAviSection[] = "Files to AVI";
constexpr char kProjectFilter[] = "AVI Project (*.avp)\0*.avp;\0";

// How a key's value goes into its control on loading.
enum class Load { Path, Text, ListItem };

struct ProjectKey {
    const char* key;
    int control;
    Load load;
};

constexpr ProjectKey kAviToFilesKeys[] = {
    {"AVIFile", kAviField, Load::Path},
    {"Folder", kFolderField, Load::Path},
    {"FirstFile", kFirstField, Load::Text},
    {"FileStep", kStepList, Load::ListItem},
};
constexpr ProjectKey kFilesToAviKeys[] = {
    {"AVIFile", kAviField, Load::Path},
    {"Folder", kFolderField, Load::Path},
    {"FirstFile", kFirstField, Load::Text},
    {"LastFile", kLastField, Load::Text},
    {"FileStep", kStepList, Load::ListItem},
    {"FrameRate", kRateList, Load::ListItem},
    {"VideoCompression", kCompressorList, Load::ListItem},
};

// value (a buffer of kPathReadSize bytes, so that a path too long for a path buffer is
// refused whole) into the page's control as the key says.
void PutValue(CTabDlg& page, const ProjectKey& entry, char* value)
{
    switch (entry.load) {
    case Load::Path:
        ResolveWholePath(value, kPathReadSize);
        page.SetDlgItemText(entry.control, value);
        break;
    case Load::Text:
        page.SetDlgItemText(entry.control, value);
        break;
    case Load::ListItem:
        page.SelectComboText(value, entry.control);
        break;
    }
}

template <std::size_t Count>
void SavePage(CTabDlg* page, const char* section, const ProjectKey (&keys)[Count], const char* path)
{
    if (!page)
        return;
    for (const ProjectKey& entry : keys)
        WritePrivateProfileStringA(section, entry.key,
                                   PathFieldText(page->m_hWnd, entry.control).c_str(), path);
}

}  // namespace

void CDornavelDlg::LoadProject(const char* path, const char* commandLine)
{
    const std::string project = path ? path : "";
    CopyTextCut(m_szProjectPath, sizeof m_szProjectPath, project);
    const bool fromCommandLine = commandLine && *commandLine;
    char value[kPathReadSize];
    ReadIniString(kTabSection, "Tab", "0", value, sizeof value, project.c_str());
    const int tab = fromCommandLine ? 0 : std::atoi(value);
    SendDlgItemMessage(kTabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab));
    for (int index = 0; index < 2; ++index) {
        if (m_pPages[index])
            m_pPages[index]->ShowPage(index == tab ? SW_SHOW : SW_HIDE);
    }
    if (CTabDlg* page = m_pPages[0]) {
        for (const ProjectKey& entry : kAviToFilesKeys) {
            ReadIniString(kAviToFilesSection, entry.key, "", value, sizeof value, project.c_str());
            if (fromCommandLine && entry.control == kAviField)
                CopyTextCut(value, sizeof value, commandLine);
            PutValue(*page, entry, value);
        }
    }
    if (CTabDlg* page = m_pPages[1]) {
        for (const ProjectKey& entry : kFilesToAviKeys) {
            ReadIniString(kFilesToAviSection, entry.key, "", value, sizeof value, project.c_str());
            PutValue(*page, entry, value);
        }
        page->ApplySettings();
    }
}

void CDornavelDlg::SaveProject(const char* path)
{
    const std::string tab = std::to_string(CurrentTab());
    WritePrivateProfileStringA(kTabSection, "Tab", tab.c_str(), path);
    SavePage(m_pPages[0], kAviToFilesSection, kAviToFilesKeys, path);
    SavePage(m_pPages[1], kFilesToAviSection, kFilesToAviKeys, path);
}

void CDornavelDlg::OnFileOpen()
{
    if (!ChooseFile(m_hWnd, "Open", m_szProjectFolder, kProjectFilter, "avp", m_szProjectPath,
                    sizeof m_szProjectPath, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY))
        return;
    const std::string chosen = m_szProjectPath;
    LoadProject(chosen.c_str(), nullptr);
}

void CDornavelDlg::OnFileSave()
{
    if (FileExists(m_szProjectPath) && IsWritableFilePath(m_szProjectPath))
        SaveProject(m_szProjectPath);
    else
        OnFileSaveAs();
}

void CDornavelDlg::OnFileSaveAs()
{
    if (ChooseFile(m_hWnd, "Save As", m_szProjectFolder, kProjectFilter, "avp", m_szProjectPath,
                   sizeof m_szProjectPath, OFN_HIDEREADONLY))
        SaveProject(m_szProjectPath);
}
