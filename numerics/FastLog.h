// The fast path of log in any lane type L: log x for a positive normal x as a
// double-double h + l and a bound on its absolute error.
//
// x = 2^e·m, m's interval i gives r ≈ 1/m from the table, z = m·r − 1 exact
// as a double-double (|z| <= 2^-8), log x = e·log 2 − log r + log1p(z) with
// log1p(z) = z − z²/2 + z³·p(z), p to z^6 (the rest below 2^-83) in double.
// z − z²/2 and the large terms are summed exactly, the small ones with p last.
// Error: p's rounding about 2^-76.6 and the last sum 2^-78, the others
// below 2^-83: the bound takes 2^-74. In the interval of 1 (e = 0, r = 1)
// every error scales with z: about 2^-67.8 relative, the bound takes 2^-66.
#pragma once

#include "numerics/Exact.h"
#include "numerics/FastLogFused.h"
#include "numerics/LogReduction.h"

namespace qvnum {

constexpr double kLogFastError = 0x1p-74;

template <class L>
inline Pair<typename L::V> LogFast(typename L::V x, typename L::V& err)
{
    if constexpr (L::kFused) return LogFused<L>(x, err);
    using V = typename L::V;
    using I = typename L::I;
    V e, m;
    I i;
    LogReduce<L>(x, e, m, i);

    const I i3 = L::template Shl<1>(i) + i;
    const V r = L::Gather(kLogR, i);
    V lrh, lrm;
    L::GatherPair(&kLogMinusLogR[0][0], i3, lrh, lrm);
    // No product underflows, so Dekker's products are exact: m·r is about 1,
    // and z = m·r − 1 is a multiple of 2^-106, so 0 or above it.
    const Pair<V> mr = L::TwoProd(m, r);
    const Pair<V> z = FastTwoSum(mr.h - V(1.0), mr.l);
    const Pair<V> zz = L::TwoProd(z.h, z.h);

    V p = V(kInverse[9][0]);
#pragma GCC unroll 8
    for (int n = 8; n >= 3; --n) p = p * z.h + V(n % 2 != 0 ? kInverse[n][0] : -kInverse[n][0]);
    p = p * (zz.h * z.h);

    const Pair<V> a = TwoSum(e * V(kLn2[0]), lrh);
    const Pair<V> b = TwoSum(a.h, z.h);
    const Pair<V> c = TwoSum(b.h, zz.h * V(-0.5));
    const V small = (e * V(kLn2[2]) + (zz.l * V(-0.5) - z.h * z.l)) + (z.l + lrm);
    const V lo = ((small + e * V(kLn2[1])) + ((a.l + b.l) + c.l)) + p;
    const Pair<V> res = FastTwoSum(c.h, lo);

    err = L::Select(NearOne<L>(x), L::Abs(res.h) * V(kLogFastErrorNearOne), V(kLogFastError));
    return res;
}

}  // namespace qvnum
