#pragma once

#include "media/PathUtils.h"
#include "platform/mfc/Framework.h"

#include <string>

class CAVIToFiles;
class CBufferFrame;
class CFilesToAVI;
class CTabDlg;
class CVideoGraph;

// Gresmont's main dialog (resource 100): the tab control with the pages "AVI to Files"
// and "Files to AVI", the two converters and the frame source "Video Frame" they share,
// Start, Stop and Exit, the field and activity line (1400), the progress line (1401) and
// the File and Help menus. It turns the converters' posted messages into status and
// progress texts, keeps buttons, tab, page fields and "&Open Project" in step with
// whether the current page's converter runs, and loads the start-up project and saves
// "RecentProject.tmp" in the program's "VideoTemplateProject" folder on every way out.
//
// Everything runs on the user-interface thread: the converters' streaming threads only
// post to the dialog. It owns the pages, converters and frame source from OnInitDialog to
// OnCancel.
class CDornavelDlg : public CDialog {
public:
    CDornavelDlg();

    // Makes path the current project and fills tab and pages from it; a command line
    // (the template to open) selects "AVI to Files" and becomes its input.
    void LoadProject(const char* path, const char* commandLine);
    // Writes the tab and both pages into the project file at path (the current project
    // stays what it was).
    void SaveProject(const char* path);
    // The page of a tab (0 "AVI to Files", 1 "Files to AVI"); null for any other tab and
    // for a page that could not be made.
    CTabDlg* Page(int tab) const;

protected:
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnInitDialog() override;
    // Saves "RecentProject.tmp", closes pages and picture windows, gives back converters
    // and frame source, then ends the dialog.
    void OnCancel() override;
    virtual BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);

private:
    void OnStart();
    void OnStop();
    void OnAppAbout();
    void OnAppExit();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnHelpUsing();
    void OnTabSelChange(NMHDR* header, LRESULT* result);
    LRESULT OnUpdateState(WPARAM mode, LPARAM);
    LRESULT OnFocusText(WPARAM, LPARAM);
    LRESULT OnGraphEvent(WPARAM, LPARAM sender);
    LRESULT OnFrameDone(WPARAM index, LPARAM sender);
    LRESULT OnCountDone(WPARAM count, LPARAM sender);
    LRESULT OnStatusText(WPARAM counting, LPARAM sender);
    LRESULT OnConvertDone(WPARAM frames, LPARAM sender);
    LRESULT OnRunStarted(WPARAM converter, LPARAM);

    void UpdateState(WPARAM mode);
    void ShowFocusText();
    void ShowFieldText(HWND page, int id);
    // Line 1401: "Frame %d of %d (%d%%)" against the graph's frame count when it is known,
    // else "%d frame%s"; n below 0 clears it.
    void ShowProgress(CVideoGraph* graph, int n);
    // The "Files to AVI" page (index 1) shows or hides, which refreshes its preview.
    void RefreshPage(int tab, int command);
    int CurrentTab() const;
    // 0 for the AVI-to-files converter, 1 for the files-to-AVI converter, -1 for anything
    // else: only the two converters are taken as senders.
    int ConverterIndex(LPARAM sender) const;
    int IndexOf(const CVideoGraph* converter) const;
    LPARAM SenderOf(int index) const;
    CVideoGraph* Converter(int index) const;
    bool EndOfAnEarlierRun(int converter) const;
    std::string RecentProjectPath() const;

    char m_szProjectPath[kPathBufferSize] = {};
    char m_szProjectFolder[kPathBufferSize] = {};
    HICON m_hIcon = nullptr;
    CTabDlg* m_pPages[2] = {};
    CBufferFrame* m_pFrameBuffer = nullptr;
    CAVIToFiles* m_pAviToFiles = nullptr;
    CFilesToAVI* m_pFilesToAvi = nullptr;
    // Starts of each converter whose kRunStarted has not come back yet: an end message
    // that arrives before it was posted before that start, by the run before.
    int m_startsInFlight[2] = {};

    DECLARE_MESSAGE_MAP()
};
