#include "numerics/Accurate.h"
#include "numerics/ScalarLanes.h"
#include "numerics/Tables.h"

namespace qvnum {

// As the fast path: log x = e·log 2 − log r + log1p(z), with log1p(z) to z^20
// (the rest below 2^-164 of z) by Horner's rule in triple-double.
Triple LogTriple(double x)
{
    int adjust = 0;
    if (x < 0x1p-1022) x *= 0x1p52, adjust = -52;
    const uint64_t ix = ScalarLanes::Bits(x), tmp = ix - kLogOffset;
    const int i = static_cast<int>((tmp >> 45) & 127);
    const double e = static_cast<double>(static_cast<int>((tmp + (1024ULL << 52)) >> 52) - 1024 + adjust);
    const double m = ScalarLanes::FromBits(ix - (tmp & 0xFFF0000000000000ULL));

    const Pair<double> mr = TwoProd(m, kLogR[i]);
    const Pair<double> zp = FastTwoSum(mr.h - 1.0, mr.l);
    const Triple z{zp.h, zp.l, 0.0};
    Triple q = FromTable(kInverse[20]);
    for (int k = 19; k >= 1; --k) q = Add(FromTable(kInverse[k]), Negate(Mul(q, z)));
    const Triple lz = Mul(q, z), lr = FromTable(kLogMinusLogR[i]);

    const Pair<double> p = TwoProd(e, kLn2[3]);
    double t[11] = {e * kLn2[0], lr.h, lz.h, e * kLn2[1], lr.m, lz.m, e * kLn2[2], lr.l, lz.l, p.h, p.l};
    return Renorm(t, 11);
}

}  // namespace qvnum
