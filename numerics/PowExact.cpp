#include "numerics/PowExact.h"

#include <cstdint>

#include "numerics/Rounding.h"
#include "numerics/ScalarLanes.h"

namespace qvnum {

namespace {

// v = mant·2^exp with mant odd (v finite, not 0).
void OddPart(double v, uint64_t& mant, int& exp)
{
    const uint64_t b = ScalarLanes::Bits(v) & 0x7FFFFFFFFFFFFFFFULL;
    const int biased = static_cast<int>(b >> 52);
    mant = b & 0xFFFFFFFFFFFFFULL;
    exp = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0) mant |= 1ULL << 52;
    while ((mant & 1) == 0) mant >>= 1, ++exp;
}

// The integer square root of w when w is a square, else 0.
uint64_t ExactRoot(uint64_t w)
{
    uint64_t lo = 1, hi = 1ULL << 27;  // w < 2^54
    while (lo < hi) {
        const uint64_t mid = (lo + hi + 1) / 2;
        if (mid * mid <= w)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo * lo == w ? lo : 0;
}

}  // namespace

// x = mx·2^ex and y = ny·2^-f with mx, ny odd. x^y = W·2^E, W < 2^54, needs
// mx^ny to be the 2^f-th power of an odd integer: mx = w^(2^f) (so f <= 5 for
// mx >= 3, as 3^64 > 2^53), ny > 0 unless w = 1, 2^f dividing ex, and w^ny < 2^54.
bool PowExact(double x, double y, double& out)
{
    uint64_t mx, ny;
    int ex, ey;
    OddPart(x, mx, ex);
    OddPart(y, ny, ey);
    const bool negative = y < 0;
    if (ey >= 0) {
        // y an integer: mx = 1 gives 2^(ex·y); else y < 54 (3^34 > 2^53).
        if (ey > 11 || (mx != 1 && ey > 5)) return false;
        ny <<= ey;
        ey = 0;
    }
    const int f = -ey;
    if (f > 11) return false;  // 2^f cannot divide ex (|ex| < 2^11, and x = 1 never comes here)
    uint64_t w = mx;
    for (int i = 0; i < f; ++i) {
        if (f > 5 && w != 1) return false;
        w = ExactRoot(w);
        if (w == 0) return false;
    }
    if (ex % (1 << f) != 0) return false;
    if (w != 1 && negative) return false;
    uint64_t W = 1;
    for (uint64_t n = 0; n < ny && w != 1; ++n) {
        if (W > ((1ULL << 54) - 1) / w) return false;
        W *= w;
    }
    // ny < 2^64 and |ex| < 2^11: E fits; too large or small a scale rounds to inf or 0.
    const double E = static_cast<double>(ex / (1 << f)) * static_cast<double>(ny) * (negative ? -1.0 : 1.0);
    if (E > 1100.0 || E < -1200.0) return false;
    // W in two doubles when it has 54 bits (W odd: W − 1 and 1).
    const bool wide = W >= 1ULL << 53;
    const double hi = static_cast<double>(wide ? W - 1 : W), lo = wide ? 1.0 : 0.0;
    return RoundScaled(hi, lo, 0.0, 0.0, static_cast<int>(E), out);
}

}  // namespace qvnum
