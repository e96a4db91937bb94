// Known systems run tick by tick through the simulation window's engine; the
// final states were computed once and are kept here as exact hex literals.
// Types 0 and 3 use only +, -, ×, ÷ and √, which IEEE 754 fixes to the bit;
// types 1 and 2 also depend on the C library's pow and exp.
#include <cstdio>
#include <vector>

#include "engine/SimulationDlg.h"
#include "tests/engine/EngineSupport.h"

namespace {

struct Golden {
    double x, y, vx, vy, fx, fy;
};

void RunAndCompare(int nType, const char* params, const std::vector<CPlanet>& planets, int nDigit, int nTicks,
                   const std::vector<Golden>& want)
{
    CSystemDlg stored;
    stored.m_strName = "Oro";
    stored.m_nForceType = nType;
    stored.m_strForceParams = params;
    for (const CPlanet& p : planets) stored.m_Planets.Add(p);
    CSimulationDlg sim(&stored, nullptr);
    sim.OnKeyDown(static_cast<UINT>('0' + nDigit), 1, 0);
    for (int t = 0; t < nTicks; ++t) sim.Integrate();

    std::vector<CPlanet> expected;
    for (const Golden& g : want) {
        CPlanet p;
        p.m_dX = g.x;
        p.m_dY = g.y;
        p.m_dVx = g.vx;
        p.m_dVy = g.vy;
        p.m_dFx = g.fx;
        p.m_dFy = g.fy;
        expected.push_back(p);
    }
    std::vector<CPlanet> got(sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end());

    // The recorded values are those of the plain loop as well.
    std::vector<CPlanet> plain = planets;
    CForceLaw law;
    law.nType = nType;
    law.dConst = sim.m_dForceConst;
    law.dParam = sim.m_dForceParam;
    ReferenceSteps(plain.data(), static_cast<int>(plain.size()), law, sim.m_dTimeStep, 300 * nTicks);
    EXPECT_TRUE(SameState(plain, expected)) << "plain loop";

    const ::testing::AssertionResult same = SameState(got, expected);
    EXPECT_TRUE(same);
    if (!same) {
        // What this build computes, ready to paste.
        for (const CPlanet& p : got)
            std::printf("        {%a, %a, %a, %a, %a, %a},\n", p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dFx, p.m_dFy);
    }
}

TEST(GoldenTrajectory, SunAndPlanetInverseSquare)
{
    RunAndCompare(0, "", {Body(400, 300, 0, 0, 10, 1, "Sole"), Body(400, 150, 8.5, 0, 1, 0, "Terra")}, 5, 50,
        {
            {0x1.9p+8, 0x1.2cp+8, 0x0p+0, 0x0p+0, 0x1.114ad5ab17585p+0, -0x1.6c10fd19cab0dp+2},
            {0x1.a83ef2a8b1279p+8, 0x1.55a0b38148b61p+7, 0x1.c9de8e7a529b8p+2, 0x1.cef518a5ed09bp+3, -0x1.114ad5ab17585p+0, 0x1.6c10fd19cab0dp+2},
        });
}

TEST(GoldenTrajectory, FiveBodiesWithAFixedOneCarryingAVelocityAtDigitSeven)
{
    RunAndCompare(0, "",
        {Body(400, 300, 3, -2, 8, 1), Body(250, 300, 0, 12, 1), Body(550, 300, 0, -12, 1.5),
         Body(400, 120, -10, 0, 0.5), Body(400, 480, 9, 1, 2)},
        7, 40,
        {
            {0x1.9p+8, 0x1.2cp+8, 0x1.8p+1, -0x1p+1, 0x1.0a8e85fd9bbecp+6, 0x1.19bde026ca23cp+7},
            {0x1.b3339c06a05c9p+8, 0x1.086e4c13fe227p+8, -0x1.28e28925f8ac5p+4, -0x1.0e0af83356814p+5, -0x1.7bed8fed50f43p+4, 0x1.086bf33391024p+5},
            {0x1.be7a0352972d2p+8, 0x1.62834c417528dp+8, 0x1.a1a2d85765ee2p+5, 0x1.30c2959ac677p+2, -0x1.69e741902616fp+4, -0x1.1dffab48eed33p+5},
            {0x1.82f2df563d4c4p+8, 0x1.37e3e843a6c1ep+8, 0x1.541b41234495fp+6, 0x1.7d084acfb5741p+5, 0x1.982c2fcc01c3fp+6, -0x1.5582be2d47d1ap+6},
            {0x1.aea7a6dfe7a6bp+8, 0x1.3acf1d412e3e2p+8, -0x1.37430565d821fp+5, -0x1.a06314ad51321p+5, -0x1.e945816a3fbfep+6, -0x1.a65e4c2b3b1aep+5},
        });
}

TEST(GoldenTrajectory, PolynomialRunsAsInverseSquare)
{
    RunAndCompare(3, "2,0.5,1,3", {Body(300, 300, 0, 5, 3), Body(500, 300, 0, -5, 3), Body(400, 400, 2, 0, 1)}, 6, 30,
        {
            {0x1.338b93576fbe1p+8, 0x1.4007028535c03p+8, 0x1.17f251a10db28p+2, 0x1.83c9f755a3c97p+2, 0x1.10ade4c90d8cdp+2, 0x1.6dbcf304d305ap-1},
            {0x1.ecd8d214e2681p+8, 0x1.1cacd7485a6dfp+8, -0x1.01a843e885f9cp+2, -0x1.b06dadde300aap+1, -0x1.ca8f3870bf28ap+1, 0x1.c1177054665e3p+0},
            {0x1.960602ee3cb9cp+8, 0x1.81e472974f731p+8, 0x1.e90eb6b346973p-1, -0x1.015cb099d1a58p+3, -0x1.5b3244856fc4p-1, -0x1.3bfaf4eb67f08p+1},
        });
}

TEST(GoldenTrajectory, InverseCube)
{
    RunAndCompare(1, "3", {Body(300, 300, 0, 6, 2), Body(500, 300, 0, -6, 2), Body(400, 200, 4, 0, 1)}, 5, 30,
        {
            {0x1.2cc6f9ed999f5p+8, 0x1.3668ea31ce7c5p+8, 0x1.b243ab7a680f2p-1, 0x1.64a4df69efc81p+2, 0x1.cb30dd1d6a328p-1, -0x1.d61d5d0b4d304p-2},
            {0x1.f3247ec24a44bp+8, 0x1.20c4edd983b28p+8, -0x1.f81f1f55a9fb8p-1, -0x1.9fceabca120a1p+2, -0x1.3754b42eb7fbbp+0, -0x1.3fe25e32c811dp-1},
            {0x1.975c41d36b63cp+8, 0x1.93489fd2b759ep+7, 0x1.1176dcf6d07e1p+2, 0x1.d94e63011204cp+0, 0x1.46f116800b89dp-2, 0x1.1578865c3755p+0},
        });
}

TEST(GoldenTrajectory, ExponentialFallingOff)
{
    RunAndCompare(2, "-0.01", {Body(200, 300, 0, 1, 4), Body(600, 300, 0, -1, 4), Body(400, 500, 0.5, 0, 1, 1)}, 8, 30,
        {
            {0x1.a908cf4092b6bp+7, 0x1.3ebc0b807857ap+8, 0x1.cf347a51e620bp+0, 0x1.9b972301e6d6dp+0, 0x1.29cb39648f217p-1, 0x1.69ed6759a4af9p-3},
            {0x1.25f2c5c1813bep+9, 0x1.222181a1b92dcp+8, -0x1.b88e0be45a2dep+0, -0x1.64534acb18c51p-2, -0x1.0ef80c73f4a74p-1, 0x1.a698b5edee4bep-3},
            {0x1.9p+8, 0x1.f4p+8, 0x1p-1, 0x0p+0, -0x1.ad32cf09a7a24p-5, -0x1.88430ea3c97dcp-2},
        });
}

}  // namespace
