#pragma once

#include "EditorDialogTest.h"
#include "editor/app/DornavelDlg.h"
#include "editor/app/TabDlg.h"

#include <memory>
#include <string>

namespace editortest {

// The main dialog, recording the end messages of runs as they reach it.
class RecordingDornavelDlg : public CDornavelDlg {
public:
    struct End {
        WPARAM frames;
        LPARAM sender;
    };
    std::vector<End> ends;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kConvertDone)
            ends.push_back({wParam, lParam});
        return CDornavelDlg::WindowProc(message, wParam, lParam);
    }
};

// Gresmont's main dialog, made modeless in the program folder, and what a test reads of
// it.
class MainDialogTest : public EditorDialogTest {
protected:
    void TearDown() override
    {
        Close();
        EditorDialogTest::TearDown();
    }

    // Makes the dialog (OnInitDialog loads the start-up project).
    void Open()
    {
        dialog_ = std::make_unique<RecordingDornavelDlg>();
        ASSERT_TRUE(dialog_->Create(kMainDialogId));
    }
    // The way out every close takes (Exit, Escape, the close box).
    void Close()
    {
        if (dialog_ && dialog_->m_hWnd)
            dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        dialog_.reset();
    }
    CTabDlg& Page(int tab) { return *dialog_->Page(tab); }
    HWND Item(int id) { return ::GetDlgItem(dialog_->m_hWnd, id); }
    HWND PageItem(int tab, int id) { return ::GetDlgItem(Page(tab).m_hWnd, id); }
    std::string Line(int id) { return TextOf(*dialog_, id); }
    std::string Field(int tab, int id) { return TextOf(Page(tab), id); }
    void SetField(int tab, int id, const std::string& text)
    {
        Page(tab).SetDlgItemText(id, text.c_str());
    }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    int Tab() { return static_cast<int>(dialog_->SendDlgItemMessage(kTabControl, TCM_GETCURSEL)); }
    // A user's pick of a tab.
    void PickTab(int tab)
    {
        dialog_->SendDlgItemMessage(kTabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab));
        NMHDR header{Item(kTabControl), kTabControl, TCN_SELCHANGE};
        dialog_->SendMessage(WM_NOTIFY, kTabControl, reinterpret_cast<LPARAM>(&header));
    }
    void Command(UINT id) { dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0)); }
    // Waits for the progress line to read text and the dialog to be idle again.
    bool WaitForProgress(const std::string& text)
    {
        return WaitFor([&] { return Line(kProgressLine) == text && Enabled(kTabControl); });
    }
    std::string ProjectFile(const std::string& name) { return At("VideoTemplateProject/" + name); }
    void WriteProject(const std::string& name, const std::string& text)
    {
        folder_.Write("VideoTemplateProject/" + name, text);
    }

    std::unique_ptr<RecordingDornavelDlg> dialog_;
};

}  // namespace editortest
