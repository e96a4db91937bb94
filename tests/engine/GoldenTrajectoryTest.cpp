// Known systems run tick by tick through the simulation window's engine; the
// final states were computed once and are kept here as exact hex literals.
// Types 0 and 3 use only +, -, ×, ÷ and √, which IEEE 754 fixes to the bit;
// types 1 and 2 also depend on the C library's pow and exp.
#include <cstdio>
#include <vector>

#include "tests/engine/EngineSupport.h"

namespace {

struct Golden {
    const char* name;
    int nType;
    const char* params;
    std::vector<CPlanet> start;
    int nDigit, nTicks;
    std::vector<CPlanet> want;
};

const Golden kCases[] = {
    {"sun and planet", 0, "", {Body(400, 300, 0, 0, 10, 1, "Sole"), Body(400, 150, 8.5, 0, 1, 0, "Terra")}, 5, 50,
     {State(0x1.9p+8, 0x1.2cp+8, 0x0p+0, 0x0p+0, 0x1.114ad5ab17585p+0, -0x1.6c10fd19cab0dp+2),
      State(0x1.a83ef2a8b1279p+8, 0x1.55a0b38148b61p+7, 0x1.c9de8e7a529b8p+2, 0x1.cef518a5ed09bp+3, -0x1.114ad5ab17585p+0, 0x1.6c10fd19cab0dp+2)}},
    {"five bodies, the fixed one with a velocity", 0, "",
     {Body(400, 300, 3, -2, 8, 1), Body(250, 300, 0, 12, 1), Body(550, 300, 0, -12, 1.5), Body(400, 120, -10, 0, 0.5),
      Body(400, 480, 9, 1, 2)}, 7, 40,
     {State(0x1.9p+8, 0x1.2cp+8, 0x1.8p+1, -0x1p+1, 0x1.0a8e85fd9bbecp+6, 0x1.19bde026ca23cp+7),
      State(0x1.b3339c06a05c9p+8, 0x1.086e4c13fe227p+8, -0x1.28e28925f8ac5p+4, -0x1.0e0af83356814p+5, -0x1.7bed8fed50f43p+4, 0x1.086bf33391024p+5),
      State(0x1.be7a0352972d2p+8, 0x1.62834c417528dp+8, 0x1.a1a2d85765ee2p+5, 0x1.30c2959ac677p+2, -0x1.69e741902616fp+4, -0x1.1dffab48eed33p+5),
      State(0x1.82f2df563d4c4p+8, 0x1.37e3e843a6c1ep+8, 0x1.541b41234495fp+6, 0x1.7d084acfb5741p+5, 0x1.982c2fcc01c3fp+6, -0x1.5582be2d47d1ap+6),
      State(0x1.aea7a6dfe7a6bp+8, 0x1.3acf1d412e3e2p+8, -0x1.37430565d821fp+5, -0x1.a06314ad51321p+5, -0x1.e945816a3fbfep+6, -0x1.a65e4c2b3b1aep+5)}},
    {"polynomial runs as inverse square", 3, "2,0.5,1,3", {Body(300, 300, 0, 5, 3), Body(500, 300, 0, -5, 3), Body(400, 400, 2, 0, 1)}, 6, 30,
     {State(0x1.338b93576fbe1p+8, 0x1.4007028535c03p+8, 0x1.17f251a10db28p+2, 0x1.83c9f755a3c97p+2, 0x1.10ade4c90d8cdp+2, 0x1.6dbcf304d305ap-1),
      State(0x1.ecd8d214e2681p+8, 0x1.1cacd7485a6dfp+8, -0x1.01a843e885f9cp+2, -0x1.b06dadde300aap+1, -0x1.ca8f3870bf28ap+1, 0x1.c1177054665e3p+0),
      State(0x1.960602ee3cb9cp+8, 0x1.81e472974f731p+8, 0x1.e90eb6b346973p-1, -0x1.015cb099d1a58p+3, -0x1.5b3244856fc4p-1, -0x1.3bfaf4eb67f08p+1)}},
    {"inverse cube", 1, "3", {Body(300, 300, 0, 6, 2), Body(500, 300, 0, -6, 2), Body(400, 200, 4, 0, 1)}, 5, 30,
     {State(0x1.2cc6f9ed999f5p+8, 0x1.3668ea31ce7c5p+8, 0x1.b243ab7a680f2p-1, 0x1.64a4df69efc81p+2, 0x1.cb30dd1d6a328p-1, -0x1.d61d5d0b4d304p-2),
      State(0x1.f3247ec24a44bp+8, 0x1.20c4edd983b28p+8, -0x1.f81f1f55a9fb8p-1, -0x1.9fceabca120a1p+2, -0x1.3754b42eb7fbbp+0, -0x1.3fe25e32c811dp-1),
      State(0x1.975c41d36b63cp+8, 0x1.93489fd2b759ep+7, 0x1.1176dcf6d07e1p+2, 0x1.d94e63011204cp+0, 0x1.46f116800b89dp-2, 0x1.1578865c3755p+0)}},
    {"exponential falling off", 2, "-0.01", {Body(200, 300, 0, 1, 4), Body(600, 300, 0, -1, 4), Body(400, 500, 0.5, 0, 1, 1)}, 8, 30,
     {State(0x1.a908cf4092b6bp+7, 0x1.3ebc0b807857ap+8, 0x1.cf347a51e620bp+0, 0x1.9b972301e6d6dp+0, 0x1.29cb39648f217p-1, 0x1.69ed6759a4af9p-3),
      State(0x1.25f2c5c1813bep+9, 0x1.222181a1b92dcp+8, -0x1.b88e0be45a2dep+0, -0x1.64534acb18c51p-2, -0x1.0ef80c73f4a74p-1, 0x1.a698b5edee4bep-3),
      State(0x1.9p+8, 0x1.f4p+8, 0x1p-1, 0x0p+0, -0x1.ad32cf09a7a24p-5, -0x1.88430ea3c97dcp-2)}},
};

TEST(GoldenTrajectory, FinalStatesAreExact)
{
    for (const Golden& g : kCases) {
        SCOPED_TRACE(g.name);
        CSystemDlg stored;
        Fill(stored, g.nType, g.params, g.start);
        CSimulationDlg sim(&stored, nullptr);
        sim.OnKeyDown(static_cast<UINT>('0' + g.nDigit), 1, 0);
        for (int t = 0; t < g.nTicks; ++t) sim.Integrate();
        // The recorded values are those of the plain loop as well.
        std::vector<CPlanet> plain = g.start;
        ReferenceSteps(plain.data(), static_cast<int>(plain.size()),
                       CForceLaw{g.nType, sim.m_dForceConst, sim.m_dForceParam}, sim.m_dTimeStep, 300 * g.nTicks);
        EXPECT_TRUE(SameState(plain, g.want)) << "plain loop";
        const std::vector<CPlanet> got = Planets(sim);
        if (!SameState(got, g.want)) {
            ADD_FAILURE() << SameState(got, g.want).message() << "; this build computes:";
            for (const CPlanet& p : got)  // ready to paste
                std::printf("      State(%a, %a, %a, %a, %a, %a),\n", p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dFx, p.m_dFy);
        }
    }
}

}  // namespace
