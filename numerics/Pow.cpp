#include <limits>

#include "numerics/Accurate.h"
#include "numerics/CorrectlyRounded.h"
#include "numerics/FastPow.h"
#include "numerics/FastPowInt.h"
#include "numerics/PowExact.h"
#include "numerics/ScalarLanes.h"

using namespace qvnum;

bool qvnum::IsSquaringPower(double y)
{
    const double twice = y + y;
    return twice >= 1.0 && twice <= 2 * kPowIntMax && twice == static_cast<int>(twice);
}

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// 0 for a non-integer, 1 for an odd integer, 2 for an even one (y finite).
int IntegerKind(double y)
{
    const uint64_t b = ScalarLanes::Bits(y) & 0x7FFFFFFFFFFFFFFFULL;
    const int e = static_cast<int>(b >> 52) - 1023;  // |y| in [2^e, 2^(e+1))
    if (b == 0) return 2;
    if (e < 0) return 0;
    if (e >= 53) return 2;
    const uint64_t frac = b & ((1ULL << (52 - e)) - 1);
    if (frac != 0) return 0;
    const bool oddUnit = e == 0 || ((b >> (52 - e)) & 1) != 0;  // the units bit, implicit for e = 0
    return oddUnit ? 1 : 2;
}

// x^y for x > 0 finite, x != 1, y finite and nonzero.
double PositivePow(double x, double y)
{
    if (ScalarLanes::Abs(y) >= 0x1p64) return (x > 1.0) == (y > 0.0) ? kInf : 0.0;  // |y·log x| > 2^11
    if (IsSquaringPower(y)) {
        bool ok = true;
        const double r = PowSquaringFast<ScalarLanes>(x, static_cast<int>(y + y), ok);
        if (ok) return r;
    }
    if (x >= 0x1p-1022) {
        bool ok = true;
        const double r = PowFast<ScalarLanes>(x, y, ok);
        if (ok) return r;
    }
    const Triple t = Mul(LogTriple(x), y);
    if (t.h > 710.0) return kInf;
    if (t.h < -746.0) return 0.0;
    double out;
    if (ExpTriple(t, out)) return out;
    PowExact(x, y, out);  // else out keeps the nearest guess
    return out;
}

}  // namespace

double CrPow(double x, double y)
{
    if (y == 0.0 || x == 1.0) return 1.0;
    if (x != x || y != y) return x + y;
    const double ax = ScalarLanes::Abs(x), ay = ScalarLanes::Abs(y);
    if (ay == kInf) {
        if (ax == 1.0) return 1.0;
        return (ax > 1.0) == (y > 0.0) ? kInf : 0.0;
    }
    const int kind = IntegerKind(y);
    const bool odd = kind == 1, negative = x < 0.0 || (x == 0.0 && ScalarLanes::Bits(x) != 0);
    if (ax == 0.0 || ax == kInf) {
        // 0^y and inf^y: 0 or inf by the sign of y (inverted for 0), signed for odd y.
        const double v = (ax == 0.0) == (y < 0.0) ? kInf : 0.0;
        return negative && odd ? -v : v;
    }
    if (x < 0.0 && kind == 0) return std::numeric_limits<double>::quiet_NaN();
    if (ax == 1.0) return negative && odd ? -1.0 : 1.0;
    const double v = PositivePow(ax, y);
    return negative && odd ? -v : v;
}
