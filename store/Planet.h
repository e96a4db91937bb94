// One body of a system: what the file stores, plus the force accumulators of a
// run and the sprite-sheet column derived from the mass.
#pragma once

#include "platform/CString.h"

class CPlanet {
public:
    CPlanet() = default;
    CPlanet(const CPlanet&) = default;
    CPlanet& operator=(const CPlanet&) = default;
    virtual ~CPlanet() = default;

    CString m_strName;
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dVx = 0.0;
    double m_dVy = 0.0;
    double m_dMass = 1.0;
    double m_dFx = 0.0;
    double m_dFy = 0.0;
    int m_nSpriteX = 0;
    int m_bFixed = 0;
};

// Left edge of the planet's size column in the sprite sheet: 40 × trunc(mass) − 40,
// limited to 0..360 (a mass that is not a number gives 0).
int SpriteOffsetForMass(double dMass);
