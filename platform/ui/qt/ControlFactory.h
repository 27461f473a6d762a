#pragma once

#include "platform/ui/Resources.h"
#include "platform/ui/qt/UiWindow.h"

// One maker per control kind (each in the file of its kind): the control as its resource
// describes it, inside dialog's client area; the dialog builder places it and sets its text.
UiWindow* CreateStaticControl(const ControlResource& resource, UiWindow* dialog, HINSTANCE module);
UiWindow* CreateButtonControl(const ControlResource& resource, UiWindow* dialog);
UiWindow* CreateEditControl(const ControlResource& resource, UiWindow* dialog);
UiWindow* CreateDropListControl(const ControlResource& resource, UiWindow* dialog);
UiWindow* CreateTrackbarControl(const ControlResource& resource, UiWindow* dialog);
UiWindow* CreateTabControl(const ControlResource& resource, UiWindow* dialog);

// A resource text with "\r\n" line breaks as Qt shows them.
QString DisplayText(const std::string& text);
