#include "creator/app/PlumetaApp.h"

#include "creator/app/PlumetaDlg.h"
#include "platform/com/Com.h"

BOOL CPlumetaApp::InitInstance()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CPlumetaDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    CoUninitialize();
    // The dialog object goes here, after COM: its shutdown released every graph.
    return FALSE;
}
