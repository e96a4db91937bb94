#include <limits>

#include "numerics/Accurate.h"
#include "numerics/CorrectlyRounded.h"
#include "numerics/FastExp.h"
#include "numerics/ScalarLanes.h"

using namespace qvnum;

double CrExp(double x)
{
    if (!(ScalarLanes::Abs(x) <= 708.0)) {
        if (x != x) return x + x;
        if (x > 710.0) return std::numeric_limits<double>::infinity();
        if (x < -746.0) return 0.0;            // below half the least subnormal
    } else if (ScalarLanes::Abs(x) < 0x1p-54) {
        return 1.0;  // 1 + x + … lies within a quarter ulp of 1
    } else {
        bool ok = true;
        const double r = ExpFast<ScalarLanes>(x, 0.0, 0.0, ok);
        if (ok) return r;
    }
    double out;
    ExpTriple({x, 0.0, 0.0}, out);
    return out;
}
