// Energy and momentum of a run: the potential of every law against the force
// the step applies, a circular orbit worked out by hand, momentum kept.
#include <gtest/gtest.h>

#include "engine/Energy.h"
#include "tests/engine/EngineSupport.h"

TEST(EnergyTest, PotentialOfEveryLawIsTheIntegralOfTheForceTheStepApplies)
{
    const struct {
        int nType;
        const char* params;
    } laws[] = {{0, ""}, {3, "2,1,1"}, {1, "2"}, {1, "1"}, {1, "3"}, {1, "0.5"}, {1, ""}, {2, "-0.01"}, {2, ""}, {2, "0.004"}, {7, ""}};
    for (const auto& l : laws) {
        for (double r : {37.0, 150.0, 420.0}) {
            SCOPED_TRACE(testing::Message() << "type " << l.nType << " \"" << l.params << "\" r " << r);
            // Two fixed planets: one tick fills their accumulators and moves nothing.
            CSystemDlg sys;
            Fill(sys, l.nType, l.params, {Body(100, 300, 0, 0, 2, 1), Body(100 + r, 300, 0, 0, 3, 1)});
            CSimulationDlg sim(&sys);
            sim.Integrate();
            const double force = sim.m_system.m_Planets[0].m_dFx;  // towards the other planet
            const CForceLaw law = QvForceLaw(sim);
            const double h = r * 1e-5;
            const double slope = (QvPairPotential(law, 2, 3, r + h) - QvPairPotential(law, 2, 3, r - h)) / (2 * h);
            EXPECT_NEAR(slope, force, 1e-6 * std::fabs(force));
            EXPECT_EQ(QvEnergy(sim.m_system.m_Planets.GetData(), 2, law).dPotential, QvPairPotential(law, 2, 3, r));
        }
    }
}

TEST(EnergyTest, CircularOrbitAroundAFixedSunByHand)
{
    // Sun of mass 10 fixed, planet of mass 2 at r = 150 with v² = 10000·10/150:
    // K = ½·2·v² = 2000/3, U = −10000·10·2/150 = −4000/3, E = K + U = −2000/3.
    const double v = std::sqrt(10000.0 * 10 / 150);
    const CPlanet planets[] = {Body(400, 300, 5, 7, 10, 1), Body(400, 150, v, 0, 2)};
    const CEnergy e = QvEnergy(planets, 2, CForceLaw{});
    EXPECT_NEAR(e.dKinetic, 2000.0 / 3, 1e-9);
    EXPECT_NEAR(e.dPotential, -4000.0 / 3, 1e-9);
    EXPECT_NEAR(e.dTotal, -2000.0 / 3, 1e-9);
    EXPECT_NEAR(e.dPx, 2 * v, 1e-12);  // the fixed sun's stored velocity carries no momentum
    EXPECT_EQ(e.dPy, 0.0);
}

TEST(EnergyTest, MomentumWithoutFixedBodiesIsKeptToRounding)
{
    CSystemDlg sys;
    Fill(sys, 0, "", {Body(300, 300, 1, -3, 5), Body(420, 310, -4, 20, 1), Body(350, 180, 12, 2, 2)});
    CSimulationDlg sim(&sys);
    sim.OnKeyDown('1', 1, 0);
    const CEnergy start = QvEnergy(sim.m_system.m_Planets.GetData(), 3, QvForceLaw(sim));
    for (int t = 0; t < 300; ++t) sim.Integrate();
    const CEnergy end = QvEnergy(sim.m_system.m_Planets.GetData(), 3, QvForceLaw(sim));
    EXPECT_NEAR(end.dPx, start.dPx, 1e-9);
    EXPECT_NEAR(end.dPy, start.dPy, 1e-9);
    EXPECT_NE(end.dKinetic, start.dKinetic);  // the bodies did move
}
