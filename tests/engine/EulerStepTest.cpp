#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/engine/EngineSupport.h"

namespace {

CForceLaw Law(int nType, double dConst, double dParam = 0.0)
{
    CForceLaw law;
    law.nType = nType;
    law.dConst = dConst;
    law.dParam = dParam;
    return law;
}

// A deterministic spread of planets: varied masses, some fixed (one of them
// with a stored velocity), one pair very close together.
std::vector<CPlanet> Scatter(int n, std::uint64_t seed)
{
    auto next = [&seed]() {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    std::vector<CPlanet> planets;
    for (int i = 0; i < n; ++i) {
        CPlanet p = Body(800 * next(), 600 * next(), 40 * next() - 20, 40 * next() - 20, 0.5 + 9 * next(),
                         i % 5 == 3 ? 1 : 0);
        planets.push_back(p);
    }
    if (n > 6) {
        planets[6].m_dX = planets[2].m_dX + 0.25;
        planets[6].m_dY = planets[2].m_dY;
    }
    return planets;
}

TEST(EulerStep, VelocityFirstThenPositionWithTheNewVelocity)
{
    // The fixed planet 100 px away pulls with exactly 1 along x.
    std::vector<CPlanet> planets = {Body(0, 0, 1, 0, 1), Body(100, 0, 0, 0, 1, 1)};
    EulerSteps(planets.data(), 2, Law(0, 10000.0), 0.5, 1);
    EXPECT_EQ(planets[0].m_dFx, 1.0);
    EXPECT_EQ(planets[0].m_dVx, 1.5);
    EXPECT_EQ(planets[0].m_dX, 0.75);
    EXPECT_EQ(planets[1].m_dX, 100.0);
    EXPECT_EQ(planets[1].m_dFx, -1.0);
}

TEST(EulerStep, PairForcesAreExactlyEqualAndOpposite)
{
    std::vector<CPlanet> planets = {Body(300, 280, 0, 0, 2), Body(517.3, 311.9, 0, 0, 2)};
    for (int s = 0; s < 200; ++s) {
        EulerSteps(planets.data(), 2, Law(0, 10000.0), 0.0002, 1);
        ASSERT_EQ(planets[0].m_dFx, -planets[1].m_dFx);
        ASSERT_EQ(planets[0].m_dFy, -planets[1].m_dFy);
    }
    // They fall towards each other.
    EXPECT_GT(planets[0].m_dX, 300.0);
    EXPECT_LT(planets[1].m_dX, 517.3);
}

TEST(EulerStep, FixedPlanetsPullButNeverMove)
{
    // The fixed sun carries a stored velocity: it keeps it and stays put.
    std::vector<CPlanet> planets = {Body(400, 300, 5, -3, 10, 1), Body(400, 150, 8.5, 0, 1)};
    EulerSteps(planets.data(), 2, Law(0, 10000.0), 0.0002, 3000);
    EXPECT_EQ(planets[0].m_dX, 400.0);
    EXPECT_EQ(planets[0].m_dY, 300.0);
    EXPECT_EQ(planets[0].m_dVx, 5.0);
    EXPECT_EQ(planets[0].m_dVy, -3.0);
    EXPECT_NE(planets[0].m_dFy, 0.0);  // its accumulator is filled all the same
    EXPECT_NE(planets[1].m_dY, 150.0);
}

TEST(EulerStep, LonePlanetMovesInAStraightLineAndNoPlanetsIsANoOp)
{
    std::vector<CPlanet> one = {Body(10, 20, 3, -4, 1)};
    std::vector<CPlanet> want = one;
    EulerSteps(one.data(), 1, Law(0, 10000.0), 0.0002, 300);
    ReferenceSteps(want.data(), 1, Law(0, 10000.0), 0.0002, 300);
    EXPECT_TRUE(SameState(one, want));
    EXPECT_EQ(one[0].m_dFx, 0.0);
    EXPECT_EQ(one[0].m_dVx, 3.0);
    EXPECT_NEAR(one[0].m_dX, 10 + 300 * 0.0002 * 3, 1e-12);
    EXPECT_NEAR(one[0].m_dY, 20 - 300 * 0.0002 * 4, 1e-12);

    EulerSteps(nullptr, 0, Law(0, 10000.0), 0.0002, 300);
    EulerStepsPortable(nullptr, 0, Law(0, 10000.0), 0.0002, 300);
}

TEST(EulerStep, InversePowerTwoFollowsTheInverseSquare)
{
    std::vector<CPlanet> a = Scatter(7, 11), b = a;
    EulerSteps(a.data(), 7, Law(1, std::pow(100.0, 2.0), 2.0), 0.0002, 300);
    EulerSteps(b.data(), 7, Law(0, 10000.0), 0.0002, 300);
    for (int i = 0; i < 7; ++i) {
        if (i == 2 || i == 6) continue;  // the close pair amplifies last-bit differences
        EXPECT_NEAR(a[i].m_dX, b[i].m_dX, 1e-6 * std::fabs(b[i].m_dX));
        EXPECT_NEAR(a[i].m_dY, b[i].m_dY, 1e-6 * std::fabs(b[i].m_dY));
    }
}

TEST(EulerStep, ZeroDistanceTurnsBothPlanetsNonFiniteAndTheRunGoesOn)
{
    std::vector<CPlanet> planets = {Body(100, 100, 0, 0, 1), Body(100, 100, 0, 0, 1), Body(500, 100, 0, 0, 1)};
    EulerSteps(planets.data(), 3, Law(0, 10000.0), 0.0002, 1);
    EXPECT_TRUE(std::isnan(planets[0].m_dFx));
    EXPECT_TRUE(std::isnan(planets[1].m_dX));
    EulerSteps(planets.data(), 3, Law(0, 10000.0), 0.0002, 300);
    // The third planet is pulled by non-finite positions from the second step on.
    EXPECT_FALSE(std::isfinite(planets[2].m_dX));
}

// The fast step against the plain loop, bit for bit: every law, fixed planets,
// sizes around the block edges, a pair almost on top of each other.
TEST(EulerStep, BitIdenticalToThePlainLoopForEveryLaw)
{
    const CForceLaw laws[] = {Law(0, 10000.0),           Law(1, std::pow(100.0, 2.5), 2.5),
                              Law(1, 1.0, 0.0),          Law(2, 1.0, -0.02),
                              Law(2, 1.0, 0.003),        Law(3, 10000.0, 4.0),
                              Law(7, 10000.0),           Law(-1, 10000.0)};
    const int sizes[] = {0, 1, 2, 4, 5, 7, 8, 9, 33};
    for (const CForceLaw& law : laws) {
        for (int n : sizes) {
            const std::vector<CPlanet> start = Scatter(n, 1000 + static_cast<std::uint64_t>(n));
            std::vector<CPlanet> want = start, best = start, portable = start;
            ReferenceSteps(want.data(), n, law, 0.0004, 60);
            EulerSteps(best.data(), n, law, 0.0004, 60);
            EulerStepsPortable(portable.data(), n, law, 0.0004, 60);
            EXPECT_TRUE(SameState(best, want)) << "type " << law.nType << ", N = " << n;
            EXPECT_TRUE(SameState(portable, want)) << "portable, type " << law.nType << ", N = " << n;
        }
    }
}

TEST(EulerStep, BitIdenticalWithNonFiniteValues)
{
    std::vector<CPlanet> start = Scatter(9, 77);
    start[1].m_dX = start[5].m_dX;
    start[1].m_dY = start[5].m_dY;  // zero distance
    start[3].m_dMass = 0.0;
    start[3].m_bFixed = 0;          // moving planet of mass 0
    start[8].m_dMass = 1e308;       // overflow in the products
    std::vector<CPlanet> want = start, got = start;
    ReferenceSteps(want.data(), 9, Law(0, 10000.0), 0.0002, 20);
    EulerSteps(got.data(), 9, Law(0, 10000.0), 0.0002, 20);
    EXPECT_TRUE(SameState(got, want));
}

}  // namespace
