// The last rounding of the accurate paths and of pow's exact cases, at any
// scale: normal, subnormal (where the grid is coarser), overflow.
#pragma once

namespace qvnum {

// a·2^k, exact whenever the result is a double.
double Scale(double a, int k);

// Rounds (h + m + l)·2^k to nearest, ties to even, knowing the true value
// within err·2^k of it (err >= 0; 0 for an exact value); h normal, |m| about
// ulp(h) at most, |l| far below. False when the error leaves the rounding
// undecided (out then holds the nearest guess).
bool RoundScaled(double h, double m, double l, double err, int k, double& out);

}  // namespace qvnum
