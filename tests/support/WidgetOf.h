#pragma once

#include "platform/win/Window.h"

#include <QApplication>
#include <QWidget>

// The widget behind a handle of the layer, for tests that click and type as a person
// would.
inline QWidget* WidgetOf(HWND window)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        const QVariant handle = widget->property("tavrinoWindow");
        if (handle.isValid() && reinterpret_cast<HWND>(handle.value<quintptr>()) == window)
            return widget;
    }
    return nullptr;
}

// Makes the window that holds widget the active one and gives widget the focus.
inline void Focus(QWidget* widget)
{
    QWidget* window = widget->window();
    window->show();
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::OtherFocusReason);
}
