// Planets and exact comparison of states. Free of Qt, so that the
// thread-sanitizer build needs only the engine.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/Euler.h"
#include "tests/engine/PlainLoop.h"

inline CPlanet Body(double x, double y, double vx, double vy, double m, int bFixed = 0)
{
    CPlanet p;
    p.m_dX = x, p.m_dY = y, p.m_dVx = vx, p.m_dVy = vy, p.m_dMass = m, p.m_bFixed = bFixed;
    return p;
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
