#include "platform/ui/qt/Menus.h"

#include "platform/ui/WindowServices.h"
#include "platform/ui/qt/DialogWindow.h"
#include "platform/ui/qt/UiWindow.h"

std::unique_ptr<MenuObject> BuildMenuBar(const MenuResource& resource, QMenuBar* bar, HWND dialog)
{
    auto root = std::make_unique<MenuObject>();
    root->menu = bar;
    for (const MenuPopupResource& popupResource : resource.popups) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(popupResource.text));
        auto popup = std::make_unique<MenuObject>();
        popup->menu = menu;
        for (const MenuItemResource& item : popupResource.items) {
            if (!item.text) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            const UINT id = item.id;
            QObject::connect(action, &QAction::triggered, [dialog, id] {
                DispatchScope scope;
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
            });
            popup->items.emplace_back(id, action);
        }
        root->popups.push_back(std::move(popup));
    }
    return root;
}

HMENU GetMenu(HWND window)
{
    auto* dialog = dynamic_cast<DialogWindow*>(UiWindow::FromHandle(window));
    return dialog ? dialog->menu() : nullptr;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    if (!menu || position < 0 || position >= static_cast<int>(menu->popups.size()))
        return nullptr;
    return menu->popups[static_cast<std::size_t>(position)].get();
}

namespace {

QAction* FindItem(HMENU menu, UINT item, UINT flags)
{
    if (!menu)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        const QList<QAction*> actions = menu->menu->actions();
        return item < static_cast<UINT>(actions.size()) ? actions[static_cast<int>(item)] : nullptr;
    }
    for (auto& [id, action] : menu->items) {
        if (id == item)
            return action;
    }
    for (auto& popup : menu->popups) {
        if (QAction* action = FindItem(popup.get(), item, flags))
            return action;
    }
    return nullptr;
}

}  // namespace

int EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    QAction* action = FindItem(menu, item, flags);
    if (!action)
        return -1;
    const int previous =
        action->isEnabled() ? static_cast<int>(MF_ENABLED) : static_cast<int>(MF_GRAYED);
    action->setEnabled(!(flags & (MF_GRAYED | MF_DISABLED)));
    return previous;
}
