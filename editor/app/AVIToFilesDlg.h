#pragma once

#include "editor/app/TabDlg.h"
#include "media/ui/EditFile.h"

class CAVIToFiles;

// The "AVI to Files" page (template 102): an input AVI file, an output folder, the name of
// the first bitmap and a file step; Start writes the input's frames (at most 127) into
// the folder as numbered bitmaps through the page's converter. The first file's name is
// kept in its normal form as it is typed, and the input's frames are counted whenever
// the page shows or the input changes while it shows.
class CAVIToFilesDlg : public CTabDlg {
public:
    CAVIToFilesDlg() = default;

    BOOL CreatePage(CWnd* parent, RECT rectangle, UINT templateId, CVideoGraph* converter) override;
    CVideoGraph* GetConverter() override;
    // The input exists (as given or beside the program), the output folder exists, the
    // first file's name has a number and the step is 1 or more.
    BOOL CanStart() override;
    BOOL SetDefaults() override;
    BOOL ShowPreview(int command) override;
    BOOL ShowPage(int command) override;
    // Converts the input into the folder: the bitmaps are named from the first file's
    // prefix and five digits, numbered from its number in steps of the step (1 to 100).
    BOOL Start() override;
    BOOL Stop() override;
    void ApplySettings() override;

    // Counts the input's frames unless they are known; the count reaches the main dialog
    // as kCountDone. False without converter or input file, or when the count cannot
    // start.
    BOOL UpdateFrameCount();

protected:
    void DoDataExchange(CDataExchange* exchange) override;

private:
    // The input file as a conversion opens it; empty when there is none.
    std::string InputFile();

    void OnChangeAviFile();
    void OnChangeFirstFile();
    void OnChangeFolder();
    void OnChangeStep();

    CEditFile m_editAviFile;
    CEditFile m_editFirstFile;
    CEditFile m_editFolder;
    CAVIToFiles* m_pConverter = nullptr;  // the main dialog's

    DECLARE_MESSAGE_MAP()
};
