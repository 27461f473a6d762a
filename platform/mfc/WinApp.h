#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/ui/Resources.h"

#include <string>

// The application object: one per program, constructed before main runs (a global), and
// started by AfxWinMain from the program's main.
class CWinApp {
public:
    // Registers this object as the application. appName null: the executable's base name.
    explicit CWinApp(LPCSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's start; FALSE ends the program right after it (dialog programs run
    // their main dialog modally inside it), TRUE runs the event loop until it is quit.
    virtual BOOL InitInstance();
    // Answers the program's exit code.
    virtual int ExitInstance();

    // An icon resource of the program's module at the default size (shared).
    HICON LoadIcon(UINT id) const;

    // The window that modeless dialogs without a parent are owned by.
    CWnd* m_pMainWnd = nullptr;
    // The whole command line after the program's name: the arguments joined by single
    // blanks, empty without arguments.
    LPCSTR m_lpCmdLine = "";
    LPCSTR m_pszAppName = "";
    HINSTANCE m_hInstance = nullptr;

private:
    friend int AfxWinMain(int argc, char** argv, HINSTANCE resources);
    std::string commandLine_;
    std::string appName_;
};

CWinApp* AfxGetApp();
// The application's main window, null when none.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);
// A message box captioned with the application's name.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK);

// The program's main: makes the application object of the user-interface layer, sets the
// resource module, rebuilds the command line from the arguments, runs InitInstance (and
// the event loop when it answers TRUE) and ExitInstance, whose answer is returned once the
// application object has been ended (EndApplication). Until then a termination request
// from the system (platform/ui/TerminationRequests.h) closes the main window as its close
// box does; without one it ends the program at once.
int AfxWinMain(int argc, char** argv, HINSTANCE resources);
