#include "EditorDialogTest.h"

#include "platform/ui/WindowServices.h"

namespace editortest {

BEGIN_MESSAGE_MAP(PageHost, CDialog)
ON_MESSAGE(kUpdateState, &PageHost::OnUpdateState)
ON_MESSAGE(kFocusText, &PageHost::OnFocusText)
END_MESSAGE_MAP()

std::string TextOf(HWND window, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

bool WaitFor(const std::function<bool()>& done)
{
    return testmedia::PumpUntil(done);
}

}  // namespace editortest
