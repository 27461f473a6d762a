#pragma once

class QEvent;
class QObject;

// The application-wide filter through which keys, mouse-button presses and tool-tip
// requests aimed at the layer's windows pass before Qt delivers them: pre-translation
// up the window tree, then the dialog keys (Enter, Escape) of the top-level dialog, and
// tool tips asked of the dialog. Installed once, when the first dialog is made.
void EnsureInputRouting();

// The tool-tip part (ToolTips.cpp): true when the event was a tool-tip request for a
// control of a dialog with tool tips on, which is then answered.
bool HandleToolTip(QObject* receiver, QEvent* event);
