#include "platform/ui/MessageBox.h"

#include "platform/ui/ProgramName.h"
#include "platform/ui/qt/ControlFactory.h"
#include "platform/ui/qt/ModalOwner.h"
#include "platform/win/DesktopHooks.h"

#include <QMessageBox>

namespace {

int ShowMessageBox(const MessageBoxCall& call)
{
    const ModalOwner owner(call.owner);
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(call.caption), DisplayText(call.text),
                    QMessageBox::Ok, owner.widget());
    if (call.type & MB_ICONEXCLAMATION)
        box.setIcon(QMessageBox::Warning);
    box.exec();
    return IDOK;
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const MessageBoxCall call{owner, text ? text : "", caption ? caption : ProgramBaseName(), type};
    DispatchScope scope;
    const auto& hook = CurrentDesktopHooks().messageBox;
    return hook ? hook(call) : ShowMessageBox(call);
}
