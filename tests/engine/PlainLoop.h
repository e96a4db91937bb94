// The plain pair loop that every faster step must match bit for bit: the
// tests compare against it and the benchmark takes it as its yardstick.
#pragma once

#include <cmath>

#include "engine/Euler.h"
#include "numerics/CorrectlyRounded.h"

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
                const double F = law.nType == 1   ? (a.m_dMass * b.m_dMass * law.dConst) / CrPow(r, law.dParam)
                                 : law.nType == 2 ? CrExp(r * law.dParam) * a.m_dMass * b.m_dMass * law.dConst
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
