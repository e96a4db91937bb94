// The fast path of exp in any lane type L (ScalarLanes.h and the vector
// forms): e^(th + tl) for |th| <= 708, |tl| <= 2^-42, as a double-double
// with a relative error below kExpFastError, then the rounding test.
//
// th = k·log(2)/128 + r, |r| <= log(2)/256: k·L1, k·L2 and k·L3 are exact
// (35-bit parts, |k| < 2^17), th − k·L1 exact (Sterbenz), the rest summed
// exactly into r = rh + rl up to about 2^-79. e^r − 1 = r + q, q from
// Taylor's terms 2 to 7 (the next is below 2^-83) in double, about 2^-70, and
// q's change with rl to first order. Then e^x = 2^(k/128)·(1 + r + q) with the
// table's double-double 2^(j/128) (2^-106). Error about 2^-69.5; the bound
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

    V p = V(kInvFactorial[7][0]);
#pragma GCC unroll 8
    for (int n = 6; n >= 2; --n) p = p * r.h + V(kInvFactorial[n][0]);
    const V q0 = (r.h * r.h) * p;
    const V q = q0 + rl * (r.h + q0);
    const Pair<V> s = FastTwoSum(r.h, q);
    const V sl = s.l + rl;

    const I j3 = L::template Shl<1>(j) + j;
    V Th, Tm;
    L::GatherPair(&kExp2[0][0], j3, Th, Tm);
    // Th·s.h never underflows, so L::TwoProd's fused error term is Dekker's:
    // for k = 0, Th = 1 and the product is exact; else th and k·L1 are
    // multiples of 2^-61 and k·L2 of 2^-78, so r.h, and s.h with it, is 0 or
    // above 2^-80.
    const Pair<V> prod = L::TwoProd(Th, s.h);
    const V lo = Tm + (prod.l + (Th * sl + Tm * s.h));
    const Pair<V> res = FastTwoSum(Th, prod.h);
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
    const V e = v.h * (err + V(kExpFastError));
    const V a = v.h + (v.l - e), b = v.h + (v.l + e);
    ok = L::Both(ok, L::Both(L::Abs(th) <= V(708.0), a == b));
    return a * scale;
}

}  // namespace qvnum
