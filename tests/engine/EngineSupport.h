// Helpers shared by the engine tests: planets, the plain pair loop to compare
// against, and exact comparison of states.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/Euler.h"
#include "store/Planet.h"

inline CPlanet Body(double x, double y, double vx, double vy, double m, int bFixed = 0, const char* name = "P")
{
    CPlanet p;
    p.m_strName = name;
    p.m_dX = x;
    p.m_dY = y;
    p.m_dVx = vx;
    p.m_dVy = vy;
    p.m_dMass = m;
    p.m_bFixed = bFixed;
    return p;
}

// One step after another, every pair once in the plain loop's order, each
// operation as written.
inline void ReferenceSteps(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps)
{
    for (int s = 0; s < nSteps; ++s) {
        for (int i = 0; i < n; ++i) {
            P[i].m_dFx = 0;
            P[i].m_dFy = 0;
        }
        for (int i = 0; i <= n - 2; ++i) {
            for (int j = i + 1; j <= n - 1; ++j) {
                double dx = P[i].m_dX - P[j].m_dX;
                double dy = P[i].m_dY - P[j].m_dY;
                double r2 = dx * dx + dy * dy;
                double r = std::sqrt(r2);
                double F;
                if (law.nType == 1)
                    F = (P[i].m_dMass * P[j].m_dMass * law.dConst) / std::pow(r, law.dParam);
                else if (law.nType == 2)
                    F = std::exp(r * law.dParam) * P[i].m_dMass * P[j].m_dMass * law.dConst;
                else
                    F = (P[i].m_dMass * P[j].m_dMass * law.dConst) / r2;
                double fx = (F * dx) / r;
                double fy = (F * dy) / r;
                P[i].m_dFx -= fx;
                P[j].m_dFx += fx;
                P[i].m_dFy -= fy;
                P[j].m_dFy += fy;
            }
        }
        for (int i = 0; i < n; ++i) {
            if (P[i].m_bFixed) continue;
            P[i].m_dVx = P[i].m_dVx + (P[i].m_dFx * dt) / P[i].m_dMass;
            P[i].m_dVy = P[i].m_dVy + (P[i].m_dFy * dt) / P[i].m_dMass;
            P[i].m_dX = P[i].m_dX + P[i].m_dVx * dt;
            P[i].m_dY = P[i].m_dY + P[i].m_dVy * dt;
        }
    }
}

// Equal bits; any two NaNs count as equal (their payload is not ours to fix).
inline bool SameBits(double a, double b)
{
    if (std::isnan(a) && std::isnan(b)) return true;
    std::uint64_t ua, ub;
    std::memcpy(&ua, &a, sizeof a);
    std::memcpy(&ub, &b, sizeof b);
    return ua == ub;
}

inline std::string Hex(double d)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", d);
    return buf;
}

inline ::testing::AssertionResult SameState(const std::vector<CPlanet>& got, const std::vector<CPlanet>& want)
{
    if (got.size() != want.size()) return ::testing::AssertionFailure() << "planet counts differ";
    for (size_t i = 0; i < got.size(); ++i) {
        const CPlanet& a = got[i];
        const CPlanet& b = want[i];
        const double ga[] = {a.m_dX, a.m_dY, a.m_dVx, a.m_dVy, a.m_dFx, a.m_dFy};
        const double wa[] = {b.m_dX, b.m_dY, b.m_dVx, b.m_dVy, b.m_dFx, b.m_dFy};
        const char* names[] = {"x", "y", "vx", "vy", "fx", "fy"};
        for (int k = 0; k < 6; ++k)
            if (!SameBits(ga[k], wa[k]))
                return ::testing::AssertionFailure()
                       << "planet " << i << " " << names[k] << ": " << Hex(ga[k]) << " instead of " << Hex(wa[k]);
    }
    return ::testing::AssertionSuccess();
}
