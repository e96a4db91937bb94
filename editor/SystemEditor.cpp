// PLACEHOLDER: the dialog side of CSystemDlg.
#include "store/SystemDlg.h"

BEGIN_MESSAGE_MAP(CSystemDlg)
END_MESSAGE_MAP()

INT_PTR CSystemDlg::DoModal() { return CDialog::DoModal(); }
void CSystemDlg::LoadCurrentPlanet() {}
void CSystemDlg::StoreCurrentPlanet() {}
void CSystemDlg::OnSelChangePlanet() {}
void CSystemDlg::OnAddPlanet() {}
void CSystemDlg::OnDeletePlanet() {}
void CSystemDlg::OnStabilize() {}
void CSystemDlg::OnFixed() {}
void CSystemDlg::OnSelChangeForceType() {}
BOOL CSystemDlg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CSystemDlg::OnOK() { CDialog::OnOK(); }
void CSystemDlg::DoDataExchange(CDataExchange*) {}
