#include <cmath>
#include <vector>

#include "engine/SimulationDlg.h"
#include "tests/engine/EngineSupport.h"

namespace {

// The record as the file or the editor would leave it.
void Fill(CSystemDlg& s, int nType, const char* params, const std::vector<CPlanet>& planets)
{
    s.m_strName = "Prova";
    s.m_nForceType = nType;
    s.m_strForceParams = params;
    s.m_Planets.RemoveAll();
    for (const CPlanet& p : planets) s.m_Planets.Add(p);
}

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
    EXPECT_EQ(sim.m_bTraces, 1);
    EXPECT_EQ(sim.m_bVectors, 0);
    EXPECT_EQ(sim.m_bPaused, 0);
    EXPECT_EQ(sim.m_bLabels, 0);
    EXPECT_EQ(sim.m_dForceConst, 10000.0);
    EXPECT_EQ(sim.m_system.m_strName, "Prova");
    EXPECT_EQ(sim.m_system.m_Planets[1].m_strName, "Terra");

    // The run works on its own copy: the stored system keeps its start, and a
    // second run starts from it again.
    for (int t = 0; t < 5; ++t) sim.Integrate();
    EXPECT_EQ(stored.m_Planets[1].m_dY, 150.0);
    EXPECT_EQ(stored.m_Planets[1].m_dFx, 0.0);
    CSimulationDlg again(&stored, nullptr);
    EXPECT_EQ(again.m_system.m_Planets[1].m_dY, 150.0);
    EXPECT_NE(sim.m_system.m_Planets[1].m_dY, 150.0);
}

TEST(SimulationState, ParameterTextIsReadLikeAtofInTheCLocale)
{
    struct Case {
        int nType;
        const char* text;
        double param;
        double constant;
    };
    const Case cases[] = {
        {1, "2", 2.0, 10000.0},        {1, "1,5", 1.0, 100.0},
        {1, " -0.5", -0.5, std::pow(100.0, -0.5)},       {1, "3e-2", 0.03, std::pow(100.0, 0.03)},
        {1, "abc", 0.0, 1.0},          {1, "", 0.0, 1.0},
        {2, "-0.01", -0.01, 1.0},      {2, "x", 0.0, 1.0},
        {3, "2, 1.5, 0, 3", 2.0, 10000.0},
    };
    for (const Case& c : cases) {
        CSystemDlg stored;
        Fill(stored, c.nType, c.text, TwoBodies());
        CSimulationDlg sim(&stored, nullptr);
        EXPECT_EQ(sim.m_dForceParam, c.param) << c.nType << " \"" << c.text << "\"";
        EXPECT_EQ(sim.m_dForceConst, c.constant) << c.nType << " \"" << c.text << "\"";
        EXPECT_EQ(sim.m_system.m_strForceParams, c.text);
    }
    // Type 0 does not read its text at all.
    CSystemDlg plain;
    Fill(plain, 0, "5", TwoBodies());
    EXPECT_EQ(CSimulationDlg(&plain, nullptr).m_dForceParam, 0.0);
}

TEST(SimulationState, EmptyTextGivesAConstantPullForTypesOneAndTwo)
{
    for (int nType : {1, 2}) {
        CSystemDlg stored;
        Fill(stored, nType, "", {Body(0, 0, 0, 0, 2), Body(30, 40, 0, 0, 3)});
        CSimulationDlg sim(&stored, nullptr);
        sim.m_nStepsPerTick = 1;
        sim.Integrate();
        // F = 6 along the line from one to the other (3-4-5 triangle).
        EXPECT_DOUBLE_EQ(sim.m_system.m_Planets[0].m_dFx, 6.0 * 30 / 50) << nType;
        EXPECT_DOUBLE_EQ(sim.m_system.m_Planets[0].m_dFy, 6.0 * 40 / 50) << nType;
    }
}

TEST(SimulationState, PolynomialAndUnknownTypesMoveExactlyLikeTheInverseSquare)
{
    CSystemDlg base;
    Fill(base, 0, "", {Body(100, 100, 1, 2, 3), Body(300, 200, 0, -5, 2), Body(500, 450, 0, 0, 6, 1)});
    CSimulationDlg reference(&base, nullptr);
    for (int t = 0; t < 10; ++t) reference.Integrate();
    for (int nType : {3, 4, -2, 1000}) {
        CSystemDlg other;
        other = base;
        other.m_nForceType = nType;
        other.m_strForceParams = "2,1,0,1";
        CSimulationDlg sim(&other, nullptr);
        EXPECT_EQ(sim.m_system.m_nForceType, nType);
        EXPECT_EQ(sim.m_dForceConst, 10000.0);
        for (int t = 0; t < 10; ++t) sim.Integrate();
        std::vector<CPlanet> got(sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end());
        std::vector<CPlanet> want(reference.m_system.m_Planets.begin(), reference.m_system.m_Planets.end());
        EXPECT_TRUE(SameState(got, want)) << "type " << nType;
    }
}

TEST(SimulationState, ATickIsThreeHundredStepsAndPauseSkipsIt)
{
    std::vector<CPlanet> planets = {Body(100, 300, 0, 3, 4), Body(700, 300, 0, -3, 4), Body(400, 100, 1, 0, 1)};
    CSystemDlg stored;
    Fill(stored, 0, "", planets);
    CSimulationDlg sim(&stored, nullptr);

    sim.m_bPaused = 1;
    sim.Integrate();
    std::vector<CPlanet> got(sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end());
    EXPECT_TRUE(SameState(got, planets));

    sim.m_bPaused = 0;
    sim.Integrate();
    ReferenceSteps(planets.data(), 3, CForceLaw{}, 0.0002, 300);
    got.assign(sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end());
    EXPECT_TRUE(SameState(got, planets));

    CSystemDlg empty;
    CSimulationDlg none(&empty, nullptr);
    EXPECT_EQ(none.m_nPlanets, 0);
    none.Integrate();
}

TEST(SimulationState, DigitKeysSetTheTimeStep)
{
    CSystemDlg stored;
    Fill(stored, 0, "", TwoBodies());
    CSimulationDlg sim(&stored, nullptr);
    const double steps[] = {0.0000125, 0.000025, 0.00005, 0.0001, 0.0002, 0.0004, 0.0008, 0.0016, 0.0032};
    for (int d = 9; d >= 1; --d) {
        sim.OnKeyDown(static_cast<UINT>('0' + d), 1, 0);
        EXPECT_EQ(sim.m_dTimeStep, steps[d - 1]) << "digit " << d;
    }
    sim.OnKeyDown('0', 1, 0);
    EXPECT_EQ(sim.m_dTimeStep, 0.0000125);

    // Set while paused: nothing moves until the pause ends, then the new step counts.
    sim.OnKeyDown('9', 1, 0);
    sim.m_bPaused = 1;
    sim.Integrate();
    EXPECT_EQ(sim.m_system.m_Planets[1].m_dX, 400.0);
    sim.m_bPaused = 0;
    sim.Integrate();
    std::vector<CPlanet> want = TwoBodies();
    ReferenceSteps(want.data(), 2, CForceLaw{}, 0.0032, 300);
    std::vector<CPlanet> got(sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end());
    EXPECT_TRUE(SameState(got, want));
}

}  // namespace
