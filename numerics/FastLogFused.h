// log's fast path for lanes with a fused multiply-add (L::kFused, AVX-512):
// the contract of LogFast, in about half its operations, on the same tables
// and reduction: x = 2^e·m, z = m·r − 1 = zh + zl exactly (zh = m·r rounded,
// less 1, by Sterbenz's lemma; zl the product's error term),
//   log x = e·log 2 − log r + log1p(zh) + zl·(1 − zh + zh²),
// log1p(zh) = zh − zh²/2 + zh³·q(zh), q to zh^6 (the rest below 2^-80), with
// zh² exact. The three large sums are exact: |e·L0| >= 0.69 > |−log r| when
// e ≠ 0; else −log r is 0 (the interval of 1, r = 1) or at least twice |zh| in
// the intervals beside it; and zh²/2 is far below both. Errors: the tail's
// four roundings on |zh³/3| <= 2^-24.1, 2^-75.1; zl·zh³ dropped, 2^-75.5; the
// low part's sums, below 2^-100: 2^-74.3 in all, the bound takes 2^-73. In
// the interval of 1, zl = 0 and every error scales with zh: 2^-66, relative.
#pragma once

#include "numerics/Exact.h"
#include "numerics/LogReduction.h"

namespace qvnum {

constexpr double kLogFusedError = 0x1p-73;

template <class L>
inline Pair<typename L::V> LogFused(typename L::V x, typename L::V& err)
{
    using V = typename L::V;
    V e, m;
    typename L::I i;
    LogReduce<L>(x, e, m, i);
    const V r = L::Gather(kLogR, i);
    V lrh, lrm;
    L::GatherPair(&kLogMinusLogR[0][0], L::template Shl<1>(i) + i, lrh, lrm);

    const Pair<V> mr = L::TwoProd(m, r);
    const V p = mr.h, zl = mr.l;
    const V z = p - V(1.0);
    const Pair<V> zz = L::TwoProd(z, z);
    const V z2 = zz.h, z2l = zz.l;
    V q = V(kInverse[9][0]);
#pragma GCC unroll 8
    for (int n = 8; n >= 3; --n) q = L::Fma(q, z, V(n % 2 != 0 ? kInverse[n][0] : -kInverse[n][0]));
    const V tail = (z2 * z) * q;

    const Pair<V> a = FastTwoSum(e * V(kLn2[0]), lrh);
    const Pair<V> b = FastTwoSum(a.h, z);
    const Pair<V> c = FastTwoSum(b.h, z2 * V(-0.5));
    const V big = L::Fma(e, V(kLn2[1]), L::Fma(e, V(kLn2[2]), lrm));
    const V small = tail + L::Fma(z2l, V(-0.5), L::Fma(zl, L::Fma(z, z, V(0.0) - z), zl));
    const V lo = ((a.l + b.l) + c.l) + (big + small);

    const typename L::M near = L::Abs(x - V(1.0 + 0x1p-10)) < V(0x1p-9 + 0x1p-10);  // the interval [1 − 2^-9, 1 + 2^-8)
    const Pair<V> res = FastTwoSum(c.h, lo);  // pow's product by y needs the low part below an ulp
    err = L::Select(near, L::Abs(res.h) * V(kLogFastErrorNearOne), V(kLogFusedError));
    return res;
}

}  // namespace qvnum
