#include <cmath>
#include <vector>

#include "tests/engine/EngineSupport.h"

namespace {

// A spread of planets: varied masses and velocities, every fifth one fixed
// (so carrying a stored velocity), planets 2 and 6 a quarter pixel apart.
std::vector<CPlanet> Scatter(int n)
{
    std::vector<CPlanet> planets;
    for (int i = 0; i < n; ++i)
        planets.push_back(Body(i == 6 ? 74.25 : 37 * i % 800, 91 * (i == 6 ? 2 : i) % 600 + 0.5 * (i % 2), i % 7 - 3.5,
                               i % 11 - 5, 0.5 + i % 9, i % 5 == 3));
    return planets;
}

// Pins the plain loop itself: attraction, velocity first, then position with
// the new velocity; the fixed planet keeps its place and stored velocity.
TEST(EulerStep, VelocityFirstThenPositionAndFixedPlanetsStay)
{
    // The fixed planet 100 px away pulls with exactly 1 along x.
    std::vector<CPlanet> plain = {Body(0, 0, 1, 0, 1), Body(100, 0, 5, -3, 1, 1)}, fast = plain;
    ReferenceSteps(plain.data(), 2, CForceLaw{}, 0.5, 1);
    EulerSteps(fast.data(), 2, CForceLaw{}, 0.5, 1);
    EXPECT_EQ(Hex(plain), "0x1.8p-1 0x0p+0 0x1.8p+0 0x0p+0 0x1p+0 0x0p+0 0x1.9p+6 0x0p+0 0x1.4p+2 -0x1.8p+1 -0x1p+0 0x0p+0 ");
    EXPECT_EQ(Hex(fast), Hex(plain));
}

// The fast step and the portable one, on 1 to 8 threads, against the plain
// loop bit for bit: every law, fixed planets, sizes around the block edges and
// the threading threshold, a pair almost on top of each other, and a start
// full of non-finite values.
TEST(EulerStep, BitIdenticalToThePlainLoopOnAnyNumberOfThreads)
{
    const CForceLaw laws[] = {{0},           {1, std::pow(100.0, 2.5), 2.5}, {1, 1.0, 0.0}, {2, 1.0, 0.0},
                              {2, 1.0, -0.02}, {2, 1.0, 0.003}, {3, 10000.0, 4.0}, {7}, {-1}};
    const int from = kEulerThreadedFrom, costly = kEulerThreadedFromCostly;
    std::vector<std::vector<CPlanet>> starts;
    for (int n : {0, 1, 2, 4, 5, 8, 9, costly - 1, costly, costly + 1, from - 1, from, from + 1, from + 7})
        starts.push_back(Scatter(n));
    std::vector<CPlanet> bad = Scatter(from + 5);
    bad[1].m_dX = bad[5].m_dX, bad[1].m_dY = bad[5].m_dY;  // zero distance
    bad[3].m_dMass = 0.0, bad[3].m_bFixed = 0;             // moving planet of mass 0
    bad[from].m_dMass = 1e308;                             // overflow in the products
    starts.push_back(bad);
    for (const CForceLaw& law : laws)
        for (const std::vector<CPlanet>& start : starts) {
            const int n = static_cast<int>(start.size());
            std::vector<CPlanet> want = start;
            ReferenceSteps(want.data(), n, law, 0.0004, 12);
            for (int nThreads : {1, 2, 3, 8}) {
                std::vector<CPlanet> best = start, portable = start;
                EulerSteps(best.data(), n, law, 0.0004, 12, nThreads);
                EulerStepsPortable(portable.data(), n, law, 0.0004, 12, nThreads);
                EXPECT_EQ(Hex(best), Hex(want)) << "type " << law.nType << ", N = " << n << ", " << nThreads;
                EXPECT_EQ(Hex(portable), Hex(want)) << "portable, " << law.nType << ", " << n << ", " << nThreads;
            }
        }
}

}  // namespace
