// exp's fast path for lanes with a fused multiply-add (L::kFused, AVX-512):
// the contract of ExpFast, in about two thirds of its operations. Fused
// operations change the bits of the double-double, never of the result:
// that is rounded correctly or left to the scalar function, as everywhere.
//
// k = round(th·128/log 2), the product not rounded; rh = th − k·L0 is exact:
// L0 = log(2)/128 rounded is a multiple of 2^-60, and so is th whenever k ≠ 0
// (|th| >= 2^-9), and |rh| <= log(2)/256 + 2^-40 < 2^-8 leaves 52 bits.
// rl = tl − k·L1 (|k| < 2^17): r = rh + rl within 2^-95. With
// T = 2^(j/128) = Th + Tm within 2^-103 (L::Exp2Table),
//   e^x = 2^(k/128)·T·(1 + rh + s),  s = q + rl·(1 + rh + q),
// q = e^rh − 1 − rh from Taylor's terms 2 to 6 (the next below 2^-71.9).
// Th·(1 + rh) = hi + hl within 2^-106 (Th − hi is exact by Sterbenz's lemma).
// Errors, relative, in units of 2^-72: q's three roundings on |q| <= 2^-18.05,
// 5.8; the truncation, 1.1; s's sum, 1; the low part's two sums (|lo| < 2^-17),
// 4; the rounding test's own sum, 2: 14, that is 2^-68.2. The bound takes
// 2^-67.
#pragma once

#include "numerics/Exact.h"
#include "numerics/Tables.h"

namespace qvnum {

constexpr double kExpFusedError = 0x1p-67;

// e^(th + tl) = (h + l)·2^floor(n), unrounded.
template <class L>
inline Pair<typename L::V> ExpFusedPair(typename L::V th, typename L::V tl, typename L::V& n)
{
    using V = typename L::V;
    const V magic = V(0x1.8p52);
    const V t = L::Fma(th, V(k128ByLn2), magic);
    const V kd = t - magic;
    n = kd * V(0x1p-7);
    V Th, Tm;
    L::Exp2Table(L::Bits(t), Th, Tm);  // t's bits are magic's plus k

    const V rh = L::Fma(kd, V(-kLn2By128Fused[0]), th);
    const V rl = L::Fma(kd, V(-kLn2By128Fused[1]), tl);
    const V r2 = rh * rh;
    const V c = L::Fma(r2, L::Fma(V(kInvFactorial[6][0]), rh, V(kInvFactorial[5][0])),
                       L::Fma(V(kInvFactorial[4][0]), rh, V(kInvFactorial[3][0])));
    const V q = r2 * L::Fma(c, rh, V(0.5));
    const V v = rh + q;
    const V s = q + L::Fma(rl, v, rl);

    const V hi = L::Fma(Th, rh, Th);
    const V hl = L::Fma(Th, rh, Th - hi);
    return {hi, L::Fma(Th, s, L::Fma(Tm, v, Tm)) + hl};
}

template <class L>
inline typename L::V ExpFused(typename L::V th, typename L::V tl, typename L::V err, typename L::M& ok)
{
    using V = typename L::V;
    V n;
    const Pair<V> v = ExpFusedPair<L>(th, tl, n);
    ok = L::Both(ok, L::Abs(th) <= V(708.0));
    return L::ScaleB(RoundIfDecided<L>(v, v.h * (err + V(kExpFusedError)), ok), n);
}

}  // namespace qvnum
