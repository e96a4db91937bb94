#include "app/SimApp.h"

#include "app/MainDlg.h"

BOOL CSimApp::InitInstance()
{
    AfxEnableControlContainer();
    CMainDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
