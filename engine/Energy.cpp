#include "engine/Energy.h"

#include <cmath>

#include "numerics/CorrectlyRounded.h"

double QvPairPotential(const CForceLaw& law, double mi, double mj, double r)
{
    switch (law.nType) {
    case 1: {
        // F = c·mi·mj / rⁿ
        const double n = law.dParam;
        if (n == 1.0) return law.dConst * mi * mj * CrLog(r);
        return law.dConst * mi * mj * CrPow(r, 1.0 - n) / (1.0 - n);
    }
    case 2: {
        // F = e^(k·r)·mi·mj·c
        const double k = law.dParam;
        if (k == 0.0) return law.dConst * mi * mj * r;
        return law.dConst * mi * mj * CrExp(k * r) / k;
    }
    default:
        // F = c·mi·mj / r²
        return -law.dConst * mi * mj / r;
    }
}

CEnergy QvEnergy(const CPlanet* pPlanets, int nPlanets, const CForceLaw& law)
{
    CEnergy e;
    for (int i = 0; i < nPlanets; ++i) {
        const CPlanet& p = pPlanets[i];
        for (int j = i + 1; j < nPlanets; ++j) {
            const CPlanet& q = pPlanets[j];
            const double dx = p.m_dX - q.m_dX, dy = p.m_dY - q.m_dY;
            e.dPotential += QvPairPotential(law, p.m_dMass, q.m_dMass, std::sqrt(dx * dx + dy * dy));
        }
        if (p.m_bFixed != 0) continue;
        e.dKinetic += 0.5 * p.m_dMass * (p.m_dVx * p.m_dVx + p.m_dVy * p.m_dVy);
        e.dPx += p.m_dMass * p.m_dVx;
        e.dPy += p.m_dMass * p.m_dVy;
    }
    e.dTotal = e.dKinetic + e.dPotential;
    return e;
}
