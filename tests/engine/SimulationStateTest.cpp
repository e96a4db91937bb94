#include <cmath>
#include <vector>

#include "tests/engine/EngineSupport.h"

namespace {

std::vector<CPlanet> TwoBodies()
{
    return {Body(400, 300, 0, 0, 10, 1, "Sole"), Body(400, 150, 8.5, 0, 1, 0, "Terra")};
}

TEST(SimulationState, ConstructionCopiesTheSystemAndSetsTheStart)
{
    CSystemDlg stored;
    Fill(stored, 0, "", TwoBodies());
    CSimulationDlg sim(&stored, nullptr);
    EXPECT_EQ(sim.GetTemplateId(), 129u);
    EXPECT_EQ(sim.m_dTimeStep, 0.0002);
    EXPECT_EQ(sim.m_nStepsPerTick, 300);
    EXPECT_EQ(sim.m_nPlanets, 2);
    EXPECT_EQ(sim.m_bTraces + 2 * sim.m_bVectors + 4 * sim.m_bPaused + 8 * sim.m_bLabels, 1);  // traces only
    EXPECT_EQ(sim.m_system.m_strName, "Prova");
    EXPECT_EQ(sim.m_system.m_Planets[1].m_strName, "Terra");

    // The run works on its own copy: the stored system keeps its start, and a
    // second run starts from it again.
    for (int t = 0; t < 5; ++t) sim.Integrate();
    EXPECT_NE(sim.m_system.m_Planets[1].m_dY, 150.0);
    EXPECT_EQ(stored.m_Planets[1].m_dY, 150.0);
    EXPECT_EQ(stored.m_Planets[1].m_dFx, 0.0);
    EXPECT_EQ(CSimulationDlg(&stored, nullptr).m_system.m_Planets[1].m_dY, 150.0);
}

TEST(SimulationState, ParameterTextIsReadLikeAtofInTheCLocale)
{
    struct Case {
        int nType;
        const char* text;
        double param, constant;
    };
    const Case cases[] = {
        {1, "2", 2.0, 10000.0},   {1, "1,5", 1.0, 100.0},   {1, " -0.5", -0.5, std::pow(100.0, -0.5)},
        {1, "abc", 0.0, 1.0},     {1, "", 0.0, 1.0},        {1, "3e-2", 0.03, std::pow(100.0, 0.03)},
        {2, "-0.01", -0.01, 1.0}, {2, "x", 0.0, 1.0},       {2, "", 0.0, 1.0},
        {3, "2, 1.5, 0, 3", 2.0, 10000.0},
        {0, "5", 0.0, 10000.0},  // type 0 does not read its text at all
    };
    for (const Case& c : cases) {
        CSystemDlg stored;
        Fill(stored, c.nType, c.text, TwoBodies());
        CSimulationDlg sim(&stored, nullptr);
        EXPECT_EQ(sim.m_dForceParam, c.param) << c.nType << " \"" << c.text << "\"";
        EXPECT_EQ(sim.m_dForceConst, c.constant) << c.nType << " \"" << c.text << "\"";
        EXPECT_EQ(sim.m_system.m_strForceParams, c.text);
    }
}

// A tick is 300 plain-loop steps of the current time step, for every type
// code (the unknown ones run as the inverse square); pause skips it, and a
// digit pressed during the pause counts once it ends.
TEST(SimulationState, TicksFollowThePlainLoopAndPauseSkipsThem)
{
    const std::vector<CPlanet> start = {Body(100, 300, 0, 3, 4), Body(700, 300, 0, -3, 4), Body(400, 100, 1, 0, 6, 1)};
    const double steps[] = {0.0000125, 0.000025, 0.00005, 0.0001, 0.0002, 0.0004, 0.0008, 0.0016, 0.0032};
    for (int nType : {0, 3, 4, -2, 1000}) {
        CSystemDlg stored;
        Fill(stored, nType, "2,1,0,1", start);
        CSimulationDlg sim(&stored, nullptr);
        EXPECT_EQ(sim.m_system.m_nForceType, nType);
        std::vector<CPlanet> want = start;
        ReferenceSteps(want.data(), 3, CForceLaw{}, 0.0002, 300);
        sim.Integrate();
        EXPECT_TRUE(SameState(Planets(sim), want)) << "type " << nType;

        sim.m_bPaused = 1;
        for (int d = 1; d <= 9; ++d) {
            sim.OnKeyDown(static_cast<UINT>('0' + d), 1, 0);
            EXPECT_EQ(sim.m_dTimeStep, steps[d - 1]) << "digit " << d;
        }
        sim.Integrate();
        EXPECT_TRUE(SameState(Planets(sim), want)) << "type " << nType;
        sim.m_bPaused = 0;
        sim.Integrate();
        ReferenceSteps(want.data(), 3, CForceLaw{}, 0.0032, 300);
        EXPECT_TRUE(SameState(Planets(sim), want)) << "type " << nType;
    }
    CSystemDlg empty;
    CSimulationDlg none(&empty, nullptr);
    EXPECT_EQ(none.m_nPlanets, 0);
    none.Integrate();
}

}  // namespace
