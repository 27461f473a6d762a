#include "platform/mfc/DataExchange.h"

#include "platform/mfc/Wnd.h"

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (exchange && exchange->m_pDlgWnd && !control.m_hWnd)
        control.SubclassDlgItem(static_cast<UINT>(id), exchange->m_pDlgWnd);
}
