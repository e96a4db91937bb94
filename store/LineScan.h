// The two number lines of a system block, read with the C library's rules in
// the "C" locale, but without its undefined behaviour on out-of-range integers.
#pragma once

#include "platform/CString.h"
#include "store/Planet.h"

// The leading decimal integer of the force-law line, as atoi reads it (blanks,
// an optional sign, digits); 0 without one. Out-of-range values are limited to
// INT_MIN..INT_MAX.
int QvScanForceType(const CString& line);

// Scans a data line as "\t%lf\t%lf\t%lf\t%lf\t%lf\t%d" into x, y, vx, vy, mass
// and the fixed flag, left to right, stopping at the first field that does not
// match; the fields after it keep the planet's values. The fixed flag is
// limited to INT_MIN..INT_MAX.
void QvScanPlanetData(const CString& line, CPlanet& planet);
