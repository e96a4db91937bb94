// Planets, the plain pair loop to compare against, and exact comparison of
// states. Free of Qt, so that the thread-sanitizer build needs only the engine.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/Euler.h"

inline CPlanet Body(double x, double y, double vx, double vy, double m, int bFixed = 0)
{
    CPlanet p;
    p.m_dX = x, p.m_dY = y, p.m_dVx = vx, p.m_dVy = vy, p.m_dMass = m, p.m_bFixed = bFixed;
    return p;
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

// The state as text, each value in hex so that equal text is equal bits; any
// NaN reads "nan" (its payload is not ours to fix).
template <class List>
std::string Hex(const List& planets)
{
    std::string text;
    char v[32];
    for (const CPlanet& p : planets)
        for (double d : {p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dFx, p.m_dFy})
            text += (std::snprintf(v, sizeof v, std::isnan(d) ? "nan " : "%a ", d), v);
    return text;
}
