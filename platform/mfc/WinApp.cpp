#include "platform/mfc/WinApp.h"

#include "platform/ui/DialogWindows.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/ProgramName.h"
#include "platform/ui/TerminationRequests.h"
#include "platform/win/Application.h"

#include <csignal>

namespace {

CWinApp*& TheApp()
{
    static CWinApp* app = nullptr;
    return app;
}

}  // namespace

CWinApp::CWinApp(LPCSTR appName)
{
    if (appName)
        appName_ = appName;
    m_pszAppName = appName_.c_str();
    TheApp() = this;
}

CWinApp::~CWinApp()
{
    if (TheApp() == this)
        TheApp() = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return static_cast<HICON>(LoadImageA(m_hInstance, MAKEINTRESOURCEA(static_cast<WORD>(id)),
                                         IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

CWinApp* AfxGetApp()
{
    return TheApp();
}

CWnd* AfxGetMainWnd()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return GetResourceModule();
}

void AfxSetResourceHandle(HINSTANCE resources)
{
    SetResourceModule(resources);
}

int AfxMessageBox(LPCSTR text, UINT type)
{
    CWinApp* app = AfxGetApp();
    CWnd* main = AfxGetMainWnd();
    return MessageBoxA(main ? main->m_hWnd : nullptr, text,
                       app && *app->m_pszAppName ? app->m_pszAppName : nullptr, type);
}

int AfxWinMain(int argc, char** argv, HINSTANCE resources)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    EnsureApplication();
    AfxSetResourceHandle(resources);
    app->m_hInstance = resources;
    if (app->appName_.empty())
        app->appName_ = ProgramBaseName();
    app->m_pszAppName = app->appName_.c_str();
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            app->commandLine_ += ' ';
        app->commandLine_ += argv[i];
    }
    app->m_lpCmdLine = app->commandLine_.c_str();
    // The system's request to end the program closes the main window as its close box
    // would, so that the program leaves through its usual way out, once whatever waits
    // for the user above it is closed.
    OnTerminationRequest([](int signal) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->m_hWnd) {
            CloseModalWindowsExcept(main->m_hWnd);
            main->PostMessage(WM_CLOSE);
            return;
        }
        OnTerminationRequest(nullptr);
        raise(signal);
    });
    if (app->InitInstance())
        RunUiEventLoop();
    OnTerminationRequest(nullptr);
    const int exitCode = app->ExitInstance();
    EndApplication();
    return exitCode;
}
