// PLACEHOLDER: the display side of CSimulationDlg.
#include "engine/SimulationDlg.h"

BOOL CSimulationDlg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CSimulationDlg::OnDestroy() {}
void CSimulationDlg::OnTimer(UINT) { Integrate(); }
void CSimulationDlg::OnKeyDown(UINT, UINT, UINT) {}
void CSimulationDlg::DrawLegend() {}
