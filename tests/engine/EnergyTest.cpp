// Energy and momentum of a run: the potential of every law against the force
// the step applies, and a circular orbit worked out by hand.
#include "engine/Energy.h"
#include "engine/SimulationDlg.h"
#include "tests/engine/EngineSupport.h"

TEST(EnergyTest, PotentialOfEveryLawIsTheIntegralOfTheForceTheStepApplies)
{
    const std::pair<int, const char*> laws[] = {{0, ""}, {3, "2,1"}, {1, "2"}, {1, "1"}, {1, "3"}, {1, "0.5"}, {1, ""},
                                                {2, "-0.01"}, {2, ""}, {2, "0.004"}, {7, ""}};
    for (const auto& l : laws)
        for (double r : {37.0, 150.0, 420.0}) {
            // Two fixed planets: a tick fills their accumulators and moves nothing.
            CSystemDlg sys;
            sys.m_nForceType = l.first;
            sys.m_strForceParams = l.second;
            sys.m_Planets.Add(Body(100, 300, 0, 0, 2, 1));
            sys.m_Planets.Add(Body(100 + r, 300, 0, 0, 3, 1));
            CSimulationDlg sim(&sys);
            sim.Integrate();
            const double force = sim.m_system.m_Planets[0].m_dFx, h = r * 1e-5;  // towards the other planet
            EXPECT_NEAR((QvPairPotential(sim.ForceLaw(), 2, 3, r + h) - QvPairPotential(sim.ForceLaw(), 2, 3, r - h)) / (2 * h), force,
                        1e-6 * std::fabs(force)) << l.first << " \"" << l.second << "\" r " << r;
        }
}

TEST(EnergyTest, CircularOrbitAroundAFixedSunByHand)
{
    // Sun of mass 10 fixed, planet of mass 2 at r = 150 with v² = 10000·10/150:
    // K = ½·2·v² = 2000/3, U = −10000·10·2/150 = −4000/3, E = K + U = −2000/3.
    const double v = std::sqrt(10000.0 * 10 / 150);
    const CPlanet planets[] = {Body(400, 300, 5, 7, 10, 1), Body(400, 150, v, 0, 2)};
    const CEnergy e = QvEnergy(planets, 2, CForceLaw{});
    EXPECT_TRUE(std::fabs(e.dKinetic - 2000.0 / 3) < 1e-9 && std::fabs(e.dPotential + 4000.0 / 3) < 1e-9 &&
                e.dTotal == e.dKinetic + e.dPotential) << e.dKinetic << " " << e.dPotential << " " << e.dTotal;
    EXPECT_TRUE(e.dPx == 2 * v && e.dPy == 0.0);  // the fixed sun's stored velocity carries no momentum
}
