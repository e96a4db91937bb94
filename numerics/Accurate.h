// The accurate paths, in triple-double: relative error below 2^-135 (about
// 2^-150 measured), for the arguments the fast paths' rounding test leaves open.
#pragma once

#include "numerics/Triple.h"

namespace qvnum {

constexpr double kAccurateError = 0x1p-135;

// log x for x > 0 finite (subnormal too).
Triple LogTriple(double x);

// e^t as v·2^scale, unrounded (−746 <= t.h <= 710).
Triple ExpTripleValue(const Triple& t, int& scale);

// e^t for −746 <= t.h <= 710, rounded to nearest at any scale; false if
// kAccurateError leaves the rounding undecided (out then holds the nearest guess).
bool ExpTriple(const Triple& t, double& out);

}  // namespace qvnum
