// Energy and momentum of a run, for lesson material: how well the Euler step
// keeps what the laws of motion keep.
#pragma once

#include "engine/Euler.h"
#include "store/Planet.h"


// The potential energy of one pair at distance r (pixels) under the law: the U
// whose derivative dU/dr is the attraction F(r) that the Euler step applies,
// with U = 0 where the formula has no constant term.
double QvPairPotential(const CForceLaw& law, double mi, double mj, double r);

struct CEnergy {
    double dKinetic = 0.0;    // ½·m·v² of the planets that are not fixed
    double dPotential = 0.0;  // every pair, fixed planets included
    double dTotal = 0.0;
    double dPx = 0.0, dPy = 0.0;  // m·v of the planets that are not fixed
};

CEnergy QvEnergy(const CPlanet* pPlanets, int nPlanets, const CForceLaw& law);
