#include "editor/app/DornavelApp.h"

#include "editor/app/DornavelDlg.h"
#include "platform/com/Com.h"

BOOL CDornavelApp::InitInstance()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        CDornavelDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    CoUninitialize();
    return FALSE;
}
