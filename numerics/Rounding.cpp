#include "numerics/Rounding.h"

#include "numerics/Exact.h"
#include "numerics/ScalarLanes.h"

namespace qvnum {

namespace {

// The rounding of base + r + t, base on the grid and r + t the rest: |r| at
// most about half the gap from base to its neighbour on r's side, t far
// smaller, the true value within err. 0 keeps base, 1 takes the neighbour,
// −1 leaves it undecided. The sign of the distance from the midpoint,
// (|r| − gap/2) + t·sign(r), is exact: the first difference by Sterbenz's
// lemma, the sum as a two-sum.
int Decide(double r, double t, double gap, double err, bool baseEven)
{
    const double half = gap * 0.5, ar = ScalarLanes::Abs(r);
    if (ar < half * 0.5) return 0;
    const Pair<double> w = TwoSum(ar - half, r > 0 ? t : -t);
    if (w.h > 2.0 * err) return 1;
    if (w.h < -2.0 * err) return 0;
    if (err == 0.0 && w.h == 0.0) return baseEven ? 0 : 1;  // a tie
    return -1;
}

}  // namespace

double Scale(double a, int k)
{
    // Two steps at most for the scales the functions use; the first stays normal.
    while (k > 1000) a *= 0x1p1000, k -= 1000;
    while (k < -1000) a *= 0x1p-1000, k += 1000;
    return a * ScalarLanes::FromBits(static_cast<uint64_t>(k + 1023) << 52);
}

bool RoundScaled(double h, double m, double l, double err, int k, double& out)
{
    const int e = static_cast<int>((ScalarLanes::Bits(h) >> 52) & 0x7FF) - 1023 + k;  // |h·2^k| in [2^e, 2^(e+1))
    const Pair<double> s = TwoSum(m, l);
    if (e >= -1022) {
        // Normal or overflowing: the grid of h's precision, base = h + s.h rounded.
        const Pair<double> base = TwoSum(h, s.h);
        const bool away = (base.l > 0) == (base.h > 0);
        const double next = ScalarLanes::FromBits(ScalarLanes::Bits(base.h) + (away ? 1 : -1));
        const int step = Decide(base.l, s.l, ScalarLanes::Abs(next - base.h), err, (ScalarLanes::Bits(base.h) & 1) == 0);
        out = Scale(step == 1 ? next : base.h, k);
        return step >= 0;
    }
    if (e < -1075) {  // below half the least subnormal
        out = h < 0 ? -0.0 : 0.0;
        return true;
    }
    // Subnormal: the grid's step is q = 2^-1074 at the true scale. hh is h on
    // that grid, hl the rest (both exact).
    const double q = Scale(1.0, -1074 - k), c = q * 0x1.8p52;
    const double hh = (h + c) - c, hl = h - hh;
    const Pair<double> u = TwoSum(hl, s.h);
    const bool even = static_cast<uint64_t>(ScalarLanes::Abs(hh) / q) % 2 == 0;
    const int step = Decide(u.h, u.l + s.l, q, err, even);
    out = Scale(step == 1 ? hh + (u.h > 0 ? q : -q) : hh, k);
    return step >= 0;
}

}  // namespace qvnum
