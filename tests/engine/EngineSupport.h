// Helpers shared by the engine tests: planets, the plain pair loop to compare
// against, and exact comparison of states.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include "engine/Euler.h"
#include "engine/SimulationDlg.h"

inline CPlanet Body(double x, double y, double vx, double vy, double m, int bFixed = 0, const char* name = "P")
{
    CPlanet p;
    p.m_strName = name;
    std::tie(p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dMass, p.m_bFixed) = std::tie(x, y, vx, vy, m, bFixed);
    return p;
}

// A planet in the middle of a run, as a recorded state.
inline CPlanet State(double x, double y, double vx, double vy, double fx, double fy)
{
    CPlanet p = Body(x, y, vx, vy, 1);
    std::tie(p.m_dFx, p.m_dFy) = std::tie(fx, fy);
    return p;
}

// The record as the file or the editor would leave it.
inline void Fill(CSystemDlg& s, int nType, const char* params, const std::vector<CPlanet>& planets)
{
    s.m_strName = "Prova";
    s.m_nForceType = nType;
    s.m_strForceParams = params;
    for (const CPlanet& p : planets) s.m_Planets.Add(p);
}

inline std::vector<CPlanet> Planets(const CSimulationDlg& sim)
{
    return {sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end()};
}

// One step after another, every pair once in the plain loop's order, each
// operation as written.
inline void ReferenceSteps(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps)
{
    for (int s = 0; s < nSteps; ++s) {
        for (int i = 0; i < n; ++i) P[i].m_dFx = P[i].m_dFy = 0;
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j) {
                CPlanet &a = P[i], &b = P[j];
                const double dx = a.m_dX - b.m_dX, dy = a.m_dY - b.m_dY;
                const double r2 = dx * dx + dy * dy, r = std::sqrt(r2);
                const double F = law.nType == 1   ? (a.m_dMass * b.m_dMass * law.dConst) / std::pow(r, law.dParam)
                                 : law.nType == 2 ? std::exp(r * law.dParam) * a.m_dMass * b.m_dMass * law.dConst
                                                  : (a.m_dMass * b.m_dMass * law.dConst) / r2;
                const double fx = (F * dx) / r, fy = (F * dy) / r;
                a.m_dFx -= fx;
                b.m_dFx += fx;
                a.m_dFy -= fy;
                b.m_dFy += fy;
            }
        for (int i = 0; i < n; ++i) {
            CPlanet& p = P[i];
            if (p.m_bFixed) continue;
            p.m_dVx = p.m_dVx + (p.m_dFx * dt) / p.m_dMass;
            p.m_dVy = p.m_dVy + (p.m_dFy * dt) / p.m_dMass;
            p.m_dX = p.m_dX + p.m_dVx * dt;
            p.m_dY = p.m_dY + p.m_dVy * dt;
        }
    }
}

// Equal bits of x, y, vx, vy, fx, fy; any two NaNs count as equal (their
// payload is not ours to fix).
inline ::testing::AssertionResult SameState(const std::vector<CPlanet>& got, const std::vector<CPlanet>& want)
{
    if (got.size() != want.size()) return ::testing::AssertionFailure() << "planet counts differ";
    static double CPlanet::*const kField[] = {&CPlanet::m_dX,  &CPlanet::m_dY,  &CPlanet::m_dVx,
                                              &CPlanet::m_dVy, &CPlanet::m_dFx, &CPlanet::m_dFy};
    for (size_t i = 0; i < got.size(); ++i)
        for (int k = 0; k < 6; ++k) {
            const double a = got[i].*kField[k], b = want[i].*kField[k];
            if (std::memcmp(&a, &b, sizeof a) != 0 && !(std::isnan(a) && std::isnan(b))) {
                char text[96];
                std::snprintf(text, sizeof text, "planet %zu field %d: %a instead of %a", i, k, a, b);
                return ::testing::AssertionFailure() << text;
            }
        }
    return ::testing::AssertionSuccess();
}
