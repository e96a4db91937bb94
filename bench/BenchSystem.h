// The systems the engine's benchmarks time: the same planets every time, and
// each force law with a typical constant.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/Euler.h"

// Type 0 inverse square, 1 with n = 3, 2 with k = -0.01 per pixel, 3 as 0.
inline CForceLaw LawOfType(int nType)
{
    CForceLaw law;
    law.nType = nType;
    switch (nType) {
    case 1: law.dParam = 3.0; law.dConst = 1e6; break;
    case 2: law.dParam = -0.01; law.dConst = 1.0; break;
    default: law.dConst = 10000.0; break;
    }
    return law;
}

// Planets spread over the screen, masses 1 to 5, slow drift; the same every time.
inline std::vector<CPlanet> MakeSystem(int n)
{
    std::vector<CPlanet> planets(static_cast<size_t>(n));
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    auto next = [&seed]() {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    for (CPlanet& p : planets) {
        p.m_dX = 50.0 + 700.0 * next();
        p.m_dY = 50.0 + 500.0 * next();
        p.m_dVx = 20.0 * next() - 10.0;
        p.m_dVy = 20.0 * next() - 10.0;
        p.m_dMass = 1.0 + 4.0 * next();
    }
    return planets;
}

// Back to the start without touching the names, so that a tick is all we time.
inline void Reset(std::vector<CPlanet>& planets, const std::vector<CPlanet>& start)
{
    for (size_t i = 0; i < planets.size(); ++i) {
        planets[i].m_dX = start[i].m_dX;
        planets[i].m_dY = start[i].m_dY;
        planets[i].m_dVx = start[i].m_dVx;
        planets[i].m_dVy = start[i].m_dVy;
    }
}
