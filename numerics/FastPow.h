// The fast path of pow in any lane type L: e^(y·log x) from the two fast
// paths. t = y·log x is computed to |y|·err(log) + 2^-100·|t| (the product
// exact, its low part rounded twice), which is also e^t's relative error to
// first order; the factor 1 + 2^-20 covers the second.
#pragma once

#include "numerics/FastExp.h"
#include "numerics/FastLog.h"

namespace qvnum {

// x^y in the lanes where ok stays set; x must be positive and normal, |y| < 2^64.
template <class L>
inline typename L::V PowFast(typename L::V x, typename L::V y, typename L::M& ok)
{
    using V = typename L::V;
    V err;
    const Pair<V> lg = LogFast<L>(x, err);
    // |log x| is 0 or above 2^-54 for x normal: y·log x leaves a double error
    // term for |y| >= 2^-900 or y = 0, where L::TwoProd's fused one is Dekker's
    // (PowOf sends any other y to CrPow).
    const Pair<V> t = L::TwoProd(y, lg.h);
    const V tl = t.l + y * lg.l;
    const V errT = (L::Abs(y) * err + L::Abs(t.h) * V(0x1p-100)) * V(1.0 + 0x1p-20);
    return ExpFast<L>(t.h, tl, errT, ok);
}

}  // namespace qvnum
