// PLACEHOLDER: the main window.
#include "app/MainDlg.h"

#include "res/resource.h"

const char* const kHelpText = "";

BEGIN_MESSAGE_MAP(CMainDlg)
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent) : CDialog(IDD_QUORVANE_DIALOG, pParent), m_hIcon(nullptr) {}
CMainDlg::~CMainDlg() = default;
void CMainDlg::DoDataExchange(CDataExchange*) {}
BOOL CMainDlg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CMainDlg::OnOK() {}
void CMainDlg::OnDestroy() {}
void CMainDlg::LoadSystems() {}
void CMainDlg::SaveSystems() {}
void CMainDlg::OnAddSystem() {}
void CMainDlg::OnModifySystem() {}
void CMainDlg::OnDeleteSystem() {}
