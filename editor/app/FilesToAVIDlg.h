#pragma once

#include "editor/app/TabDlg.h"
#include "media/ui/EditFile.h"

class CFilesToAVI;

// The "Files to AVI" page (template 103): an input folder, the first and last numbered
// bitmap, the largest gap between two numbers of the run (the maximum file step), the
// output AVI file, the frame rate (1.00 to 4.00 frames a second) and the video
// compressor. The fields become the converter's settings at every change that matters to
// the run; the picture window "Files to AVI" shows the frame the run's frame source holds
// while the page is visible and the run has bitmaps.
class CFilesToAVIDlg : public CTabDlg {
public:
    CFilesToAVIDlg() = default;

    // Also fills the frame-rate list ("2.00 frame/sec" selected) and the compressor list
    // ("(No Compression)" and the installed video compressors, less those the editor
    // does not offer; "(No Compression)" selected).
    BOOL CreatePage(CWnd* parent, RECT rectangle, UINT templateId, CVideoGraph* converter) override;
    CVideoGraph* GetConverter() override;
    // The output can be written, the input folder exists, the first and last names have
    // numbers, the step is 1 or more, the rate is not negative and a compressor is chosen.
    BOOL CanStart() override;
    // Normalises the first and last names, and gives a blank output a dated name in the
    // program's "VideoTemplate" folder (made when missing).
    BOOL SetDefaults() override;
    BOOL ShowPreview(int command) override;
    BOOL ShowPage(int command) override;
    BOOL Start() override;
    BOOL Stop() override;
    // The fields into the converter: the input pattern is the folder, the first name's
    // prefix (which may be empty) and five digits; nothing changes when the first name
    // has no number.
    void ApplySettings() override;

protected:
    void DoDataExchange(CDataExchange* exchange) override;

private:
    void OnSelectLastFile();
    void OnOpenLastFile();
    void OnChangeOutputFile();
    void OnChangeFirstFile();
    void OnChangeLastFile();
    void OnChangeFolder();
    void OnChangeStep();
    void OnChangeRate();
    void OnChangeCompressor();

    CEditFile m_editOutputFile;
    CEditFile m_editFirstFile;
    CEditFile m_editLastFile;
    CEditFile m_editFolder;
    CFilesToAVI* m_pConverter = nullptr;  // the main dialog's

    DECLARE_MESSAGE_MAP()
};

// The rate list's items, from the rate in hundredths of a frame a second: "2.50 frame/sec".
std::string FrameRateText(int hundredths);
// Fills the compressor list 1202 of the page with "(No Compression)" and the installed
// video compressors, less the names the editor does not offer (each item that begins
// with one of them), and selects "(No Compression)".
void FillVideoCompressorList(HWND page);
// Fills the rate list 1201 of the page with "1.00 frame/sec" to "4.00 frame/sec" in
// hundredths (301 items) and selects "2.00 frame/sec".
void FillFrameRateList(HWND page);
