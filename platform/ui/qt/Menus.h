#pragma once

#include "platform/ui/Resources.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <memory>
#include <vector>

// A dialog's menu bar made from its resource; HMENU names the bar and each pop-up. A
// chosen item sends WM_COMMAND (its id, code 0, no window) to the dialog.
struct MenuObject {
    QWidget* menu = nullptr;  // the QMenuBar or QMenu
    std::vector<std::unique_ptr<MenuObject>> popups;
    std::vector<std::pair<UINT, QAction*>> items;
};

// Fills bar from the resource; the actions send their commands to dialog.
std::unique_ptr<MenuObject> BuildMenuBar(const MenuResource& resource, QMenuBar* bar, HWND dialog);
