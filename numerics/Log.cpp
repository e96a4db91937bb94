#include <limits>

#include "numerics/Accurate.h"
#include "numerics/CorrectlyRounded.h"
#include "numerics/FastLog.h"
#include "numerics/Rounding.h"
#include "numerics/ScalarLanes.h"

using namespace qvnum;

double CrLog(double x)
{
    if (!(x > 0.0 && x <= 0x1.fffffffffffffp1023)) {
        if (x != x) return x + x;
        if (x == 0.0) return -std::numeric_limits<double>::infinity();
        return x > 0.0 ? x : std::numeric_limits<double>::quiet_NaN();  // +inf; x < 0
    }
    if (x == 1.0) return 0.0;
    if (x >= 0x1p-1022) {
        double err;
        const Pair<double> v = LogFast<ScalarLanes>(x, err);
        bool ok = true;
        const double a = RoundIfDecided<ScalarLanes>(v, err, ok);
        if (ok) return a;
    }
    const Triple t = LogTriple(x);
    double out;
    RoundScaled(t.h, t.m, t.l, ScalarLanes::Abs(t.h) * kAccurateError, 0, out);
    return out;
}
