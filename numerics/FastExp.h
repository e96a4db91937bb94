// The fast path of exp in any lane type L (ScalarLanes.h and the vector
// forms): e^(th + tl) for |th| <= 708, |tl| <= 2^-42, as a double-double
// with a relative error below kExpFastError, then the rounding test.
//
// th = k·log(2)/128 + r, |r| <= log(2)/256: k·L1, k·L2 and k·L3 are exact
// (35-bit parts, |k| < 2^17), th − k·L1 exact (Sterbenz), the rest summed
// exactly into r = rh + rl up to about 2^-79. e^r − 1 = r + q, q from
// Taylor's terms 2 to 6 (the next is below 2^-71.9) in double, about 2^-70,
// and q's change with rl to first order; s = r + q as a double-double. Then
// e^x = 2^(k/128)·T·(1 + s) with T = 2^(j/128) = Th + Tm from the table, Th
// of 26 bits, so that Th times either half of s's split is exact, and Tm
// about 2^-27·Th (the rest below 2^-80). Error about 2^-69.3; the bound
// takes 2^-67.
#pragma once

#include "numerics/Exact.h"
#include "numerics/FastExpFused.h"
#include "numerics/Tables.h"

namespace qvnum {

constexpr double kExpFastError = 0x1p-67;

// e^(th + tl) = (h + l)·2^scale, unrounded: relative error below kExpFastError.
template <class L>
inline Pair<typename L::V> ExpFastPair(typename L::V th, typename L::V tl, typename L::V& scale)
{
    using V = typename L::V;
    using I = typename L::I;
    const V magic = V(0x1.8p52);
    const V t = th * V(k128ByLn2) + magic;
    const V kd = t - magic;
    const I k = L::Bits(t) - L::Bits(magic);
    const I j = L::And(k, 127);
    scale = L::FromBits(L::template Shl<45>(k - j) + I(1023ULL << 52));

    const V rh = th - kd * V(kLn2By128[0]);
    const Pair<V> r = TwoSum(rh, kd * V(-kLn2By128[1]));
    const V rl = r.l + (kd * V(-kLn2By128[2]) + tl);

    V p = V(kInvFactorial[6][0]);
#pragma GCC unroll 8
    for (int n = 5; n >= 2; --n) p = p * r.h + V(kInvFactorial[n][0]);
    const V q0 = (r.h * r.h) * p;
    const V q = q0 + rl * (r.h + q0);
    const Pair<V> s = FastTwoSum(r.h, q);
    const V sl = s.l + rl;

    V Th, Tm;
    L::GatherPair(&kExp2Short[0][0], L::template Shl<1>(j), Th, Tm);
    const Pair<V> half = Split(s.h);
    const V p1 = Th * half.h, p2 = Th * half.l;  // both exact: 26 bits times 26
    const V lo = Tm + (p2 + (Th * sl + Tm * s.h));
    const Pair<V> res = FastTwoSum(Th, p1);
    return {res.h, res.l + lo};
}

// The lanes where ok stays set hold e^(th + tl) rounded to nearest, provided
// the input's own relative error is below err.
template <class L>
inline typename L::V ExpFast(typename L::V th, typename L::V tl, typename L::V err, typename L::M& ok)
{
    using V = typename L::V;
    if constexpr (L::kFused) return ExpFused<L>(th, tl, err, ok);
    V scale;
    const Pair<V> v = ExpFastPair<L>(th, tl, scale);
    ok = L::Both(ok, L::Abs(th) <= V(708.0));
    return RoundIfDecided<L>(v, v.h * (err + V(kExpFastError)), ok) * scale;
}

}  // namespace qvnum
