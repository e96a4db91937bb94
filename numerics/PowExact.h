// pow's exact results and midpoints, which no accuracy can round.
#pragma once

namespace qvnum {

// x^y rounded to nearest, ties to even, when x^y (x > 0 finite, y finite) is
// W·2^E with W an integer below 2^54: then it is a double or the midpoint of
// two. False when x^y is not of that form.
bool PowExact(double x, double y, double& out);

}  // namespace qvnum
