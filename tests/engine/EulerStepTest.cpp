#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/engine/EngineSupport.h"

namespace {

// A deterministic spread of planets: varied masses and velocities, some fixed
// (so carrying a stored velocity), one pair very close together.
std::vector<CPlanet> Scatter(int n, std::uint64_t seed)
{
    auto next = [&seed]() {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    std::vector<CPlanet> planets;
    for (int i = 0; i < n; ++i)
        planets.push_back(Body(800 * next(), 600 * next(), 40 * next() - 20, 40 * next() - 20, 0.5 + 9 * next(),
                               i % 5 == 3 ? 1 : 0));
    if (n > 6) {
        planets[6].m_dX = planets[2].m_dX + 0.25;
        planets[6].m_dY = planets[2].m_dY;
    }
    return planets;
}

// Pins the plain loop itself: velocity first, then position with the new
// velocity; the fixed planet keeps its place and stored velocity.
TEST(EulerStep, VelocityFirstThenPositionAndFixedPlanetsStay)
{
    // The fixed planet 100 px away pulls with exactly 1 along x.
    std::vector<CPlanet> planets = {Body(0, 0, 1, 0, 1), Body(100, 0, 5, -3, 1, 1)};
    EulerSteps(planets.data(), 2, CForceLaw{}, 0.5, 1);
    EXPECT_TRUE(SameState(planets, {State(0.75, 0, 1.5, 0, 1, 0), State(100, 0, 5, -3, -1, 0)}));
}

// The fast step and the portable one against the plain loop, bit for bit:
// every law, fixed planets, sizes around the block edges, a pair almost on top
// of each other, and a start full of non-finite values.
TEST(EulerStep, BitIdenticalToThePlainLoop)
{
    const CForceLaw laws[] = {{0},           {1, std::pow(100.0, 2.5), 2.5}, {1, 1.0, 0.0}, {2, 1.0, 0.0},
                              {2, 1.0, -0.02}, {2, 1.0, 0.003}, {3, 10000.0, 4.0}, {7}, {-1}};
    std::vector<std::vector<CPlanet>> starts;
    for (int n : {0, 1, 2, 4, 5, 7, 8, 9, 33}) starts.push_back(Scatter(n, 1000 + static_cast<std::uint64_t>(n)));
    std::vector<CPlanet> bad = Scatter(9, 77);
    bad[1].m_dX = bad[5].m_dX;
    bad[1].m_dY = bad[5].m_dY;  // zero distance
    bad[3].m_dMass = 0.0;
    bad[3].m_bFixed = 0;        // moving planet of mass 0
    bad[8].m_dMass = 1e308;     // overflow in the products
    starts.push_back(bad);
    for (const CForceLaw& law : laws)
        for (const std::vector<CPlanet>& start : starts) {
            const int n = static_cast<int>(start.size());
            std::vector<CPlanet> want = start, best = start, portable = start;
            ReferenceSteps(want.data(), n, law, 0.0004, 60);
            EulerSteps(best.data(), n, law, 0.0004, 60);
            EulerStepsPortable(portable.data(), n, law, 0.0004, 60);
            EXPECT_TRUE(SameState(best, want)) << "type " << law.nType << ", N = " << n;
            EXPECT_TRUE(SameState(portable, want)) << "portable, type " << law.nType << ", N = " << n;
        }
}

}  // namespace
