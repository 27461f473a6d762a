#include "EditorDialogTest.h"

#include "platform/ui/WindowServices.h"

using namespace gresmont;

namespace editortest {

BEGIN_MESSAGE_MAP(PageHost, CDialog)
ON_MESSAGE(kUpdateState, &PageHost::OnUpdateState)
ON_MESSAGE(kFocusText, &PageHost::OnFocusText)
ON_MESSAGE(kGraphNotify, &PageHost::OnGraphNotify)
ON_MESSAGE(kFrameDone, &PageHost::OnFrameDone)
ON_MESSAGE(kCountDone, &PageHost::OnCountDone)
ON_MESSAGE(kActivityText, &PageHost::OnActivity)
ON_MESSAGE(kConvertDone, &PageHost::OnConvertDone)
END_MESSAGE_MAP()

LRESULT PageHost::OnConverter(UINT message, WPARAM wParam, LPARAM)
{
    converterPosts[message].push_back({message, wParam});
    return 0;
}

LRESULT PageHost::OnGraphNotify(WPARAM, LPARAM sender)
{
    if (onGraphNotify)
        onGraphNotify(sender);
    return 0;
}

std::string TextOf(HWND window, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

bool WaitFor(const std::function<bool()>& done, DWORD patienceMs)
{
    return testmedia::PumpUntil(done, patienceMs);
}

}  // namespace editortest
