// PLACEHOLDER: the simulation state and the integration.
#include "engine/SimulationDlg.h"

#include "res/resource.h"

CSimulationDlg::CSimulationDlg(CSystemDlg* pSystem, CWnd* pParent) : CDialog(IDD_SIMULATION, pParent)
{
    m_system = *pSystem;
    m_nPlanets = m_system.m_Planets.GetSize();
}
CSimulationDlg::~CSimulationDlg() = default;
void CSimulationDlg::Integrate() {}
