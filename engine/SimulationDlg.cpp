// The engine side of the simulation window: the run's own copy of the system,
// the force law's constants and the integration phase of a tick.
#include "engine/SimulationDlg.h"

#include <algorithm>

#include "engine/Euler.h"
#include "numerics/CorrectlyRounded.h"
#include "platform/Locale.h"
#include "res/resource.h"

CSimulationDlg::CSimulationDlg(CSystemDlg* pSystem, CWnd* pParent)
    : CDialog(IDD_SIMULATION, pParent), m_system(nullptr)
{
    m_dTimeStep = 0.0002;
    m_nStepsPerTick = 300;
    if (pSystem != nullptr) m_system = *pSystem;
    m_nPlanets = m_system.m_Planets.GetSize();
    m_bTraces = 1;
    m_bVectors = 0;
    m_bLabels = 0;
    m_bPaused = 0;
    switch (m_system.m_nForceType) {
    case 1:
        m_dForceParam = QvReadDecimal(m_system.m_strForceParams);
        m_dForceConst = CrPow(100.0, m_dForceParam);
        break;
    case 2:
        m_dForceConst = 1.0;
        m_dForceParam = QvReadDecimal(m_system.m_strForceParams);
        break;
    case 3:
        m_dForceConst = 10000.0;
        m_dForceParam = QvReadDecimal(m_system.m_strForceParams);
        break;
    default:
        // 0, and codes no editor writes (a hand-written file): the inverse
        // square, so that the run has a defined law. The type stays as read.
        m_dForceConst = 10000.0;
        break;
    }
}

CSimulationDlg::~CSimulationDlg() = default;

CForceLaw CSimulationDlg::ForceLaw() const
{
    return CForceLaw{m_system.m_nForceType, m_dForceConst, m_dForceParam};
}

void CSimulationDlg::Integrate()
{
    if (m_bPaused != 0) return;
    // m_nPlanets never exceeds the list, whatever has been done to either.
    const int nPlanets = std::min(m_nPlanets, m_system.m_Planets.GetSize());
    EulerSteps(m_system.m_Planets.GetData(), nPlanets, ForceLaw(), m_dTimeStep, m_nStepsPerTick, m_nThreads);
}
