#pragma once

#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "platform/mfc/Framework.h"
#include "support/DesktopRecorder.h"
#include "support/MessagePump.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace editortest {

using namespace gresmont;

// The main dialog's window without its own code, for a page to lie in: records what
// the page posts to it.
class PageHost : public CDialog {
public:
    PageHost() : CDialog(kMainDialogId) {}

    struct Post {
        UINT message;
        WPARAM wParam;
        bool operator==(const Post&) const = default;
    };
    std::vector<Post> posts;
    // The converters' messages: counted by number; the graph's notification goes to
    // onGraphNotify with the sender.
    std::map<UINT, std::vector<Post>> converterPosts;
    std::function<void(LPARAM sender)> onGraphNotify;

protected:
    LRESULT OnUpdateState(WPARAM mode, LPARAM)
    {
        posts.push_back({kUpdateState, mode});
        return 0;
    }
    LRESULT OnFocusText(WPARAM control, LPARAM)
    {
        posts.push_back({kFocusText, control});
        return 0;
    }
    LRESULT OnConverter(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnGraphNotify(WPARAM, LPARAM sender);
    LRESULT OnFrameDone(WPARAM w, LPARAM l) { return OnConverter(kFrameDone, w, l); }
    LRESULT OnCountDone(WPARAM w, LPARAM l) { return OnConverter(kCountDone, w, l); }
    LRESULT OnActivity(WPARAM w, LPARAM l) { return OnConverter(kActivityText, w, l); }
    LRESULT OnConvertDone(WPARAM w, LPARAM l) { return OnConverter(kConvertDone, w, l); }
    DECLARE_MESSAGE_MAP()
};

// Gresmont's dialogs in a program folder of their own (the running program pretends to
// be Gresmont there), with the editor's resources and the desktop answered by a recorder.
class EditorDialogTest : public testmedia::ProgramFolderTest {
protected:
    EditorDialogTest() : ProgramFolderTest("Gresmont") {}
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        AfxSetResourceHandle(&kEditorModule);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(nullptr);
        ProgramFolderTest::TearDown();
    }

    // A path inside the program folder.
    std::string At(const std::string& name) const { return (dir_ / name).string(); }

    testmedia::DesktopRecorder desktop_;
};

// The window's control text.
std::string TextOf(HWND window, int id);
// The control's text through the framework, for a page or dialog object.
inline std::string TextOf(const CWnd& window, int id)
{
    return TextOf(window.m_hWnd, id);
}
// Delivers posted messages until done holds (false after the patience runs out).
bool WaitFor(const std::function<bool()>& done, DWORD patienceMs = testmedia::kPatienceMs);

}  // namespace editortest
