#pragma once

#include "media/PathUtils.h"
#include "platform/mfc/Framework.h"

#include <string>

class CVideoGraph;

// The base of the main dialog's two pages ("AVI to Files", "Files to AVI"): the operations
// through which the main dialog drives either page, the page's creation and place over
// the tab control, and what both pages share: the step list, the buttons that pick, open
// and play the fields' files and folders, the tool tips (each control's own text), the
// numbered names of the first and last file, and telling the main dialog which control a
// key or click was for.
//
// Both pages number their controls alike (editor/app/EditorIds.h). Fields are read into
// path buffers (at most 519 bytes). A page talks to the main dialog only by posting
// kUpdateState and kFocusText to it. User-interface thread.
class CTabDlg : public CDialog {
public:
    CTabDlg() = default;

    // Creates the page from the template as a child of parent and places it over the tab
    // control whose rectangle is given; keeps the converter (the pages do). FALSE when
    // the page cannot be made.
    virtual BOOL CreatePage(CWnd* parent, RECT rectangle, UINT templateId, CVideoGraph* converter);
    // The page's converter (not owned); null before CreatePage.
    virtual CVideoGraph* GetConverter() = 0;
    // Whether the fields allow a conversion; the main dialog enables Start by it.
    virtual BOOL CanStart() = 0;
    // Once, after the start-up project is loaded: normalises names, fills blank fields.
    virtual BOOL SetDefaults() = 0;
    // Shows (SW_SHOW) or removes the page's preview of the current frame; whether shown.
    virtual BOOL ShowPreview(int command) = 0;
    // Shows or hides the page and refreshes what it shows; its previous visibility.
    virtual BOOL ShowPage(int command) = 0;
    virtual BOOL Start() = 0;
    // Stops the conversion and closes the converter's graph.
    virtual BOOL Stop() = 0;
    // Hands the fields to the converter: before Start and after a project is loaded.
    virtual void ApplySettings() = 0;
    // A control's tip: its own text.
    virtual BOOL OnToolTipNeedText(UINT id, NMHDR* header, LRESULT* result);

    // Stop, then the window is destroyed.
    void ClosePage();
    // Selects the first item of the list that begins with text (no case); FALSE, with the
    // selection kept, when none does.
    BOOL SelectComboText(const char* text, int comboId);
    // Enables or disables every field and button of the page.
    BOOL EnableFields(BOOL enable);
    // A blank folder field 1301 gets the program's "VideoTemplateImages" folder, which is
    // made when missing.
    BOOL SetDefaultImageFolder();
    // Brings the file name in the field to its normal form (no folder, ".bmp", the number
    // with at least five digits; a number above 99999 loses its last digit) and gives the
    // partner field (0: none) the same prefix, unless the field was blank (it has no
    // prefix to give) or the partner is empty; the caret stays where it was. TRUE when
    // the field's text changed.
    BOOL NormaliseNumberedName(int fieldId, int partnerId);

    // Hands file to the shell with the verb, then with "open"; when neither works, says
    // so in a message box naming the verb, the file and the missing tool (description).
    void OpenWithShell(const char* verb, const char* description, const char* file);
    // OpenWithShell on the field's path, made absolute against the program's folder.
    void OpenFieldWithShell(const char* verb, const char* description, int fieldId);
    // Opens the field's folder, made first when missing (which the main dialog is told
    // of); a blank field or a folder that does not open asks for another in the folder
    // browser.
    void OpenFolderField(int fieldId);
    // Opens the file named in the field inside the folder of field 1301 for editing.
    void OpenFileInFolder(int fieldId);
    // The folder browser, starting at the field's folder; a chosen folder goes into it.
    void BrowseFolderIntoField(int fieldId);
    // The file-open picker for the field, starting in the folder of folderFieldId; the
    // chosen file goes into the field, as its whole path or (keepFolder FALSE) its name.
    void ChooseFileIntoField(BOOL keepFolder, const char* filter, int fieldId, int folderFieldId);

    BOOL PreTranslateMessage(MSG* message) override;

protected:
    // The field's text when it fits a path buffer whole (at most 519 bytes), else empty:
    // the fields name files, and a cut name would be another file's.
    std::string FieldText(int id) const;
    // The step list's text as a number; 0 when blank.
    int StepValue() const;
    // Posts to the main dialog.
    void PostToParent(UINT message, WPARAM wParam);
    // Tells the main dialog that the field changed: its text is the one to show.
    void ReportField(int id);

    void OnSelectAviFile();
    void OnSelectFirstFile();
    void OnSelectFolder();
    void OnOpenFirstFile();
    void OnOpenFolder();
    void OnPlay();

    char m_szToolTip[kPathBufferSize] = {};
    // The field whose blank text NormaliseNumberedName is rewriting; 0 when none.
    int m_fillingBlankField = 0;

    DECLARE_MESSAGE_MAP()
};

// The picker filters of the page fields.
inline constexpr char kAviFileFilter[] = "AVI Video File (*.avi)\0*.avi;\0";
inline constexpr char kBitmapFileFilter[] = "Bitmap Files (*.bmp)\0*.bmp;\0";
