// The reduction both fast paths of log share: x = 2^e·m for a positive normal
// x, with m in the table's interval i (Tables.h), and the interval of 1.
#pragma once

#include "numerics/Tables.h"

namespace qvnum {

// The relative error bound of either fast path in the interval of 1.
constexpr double kLogFastErrorNearOne = 0x1p-66;

template <class L>
inline void LogReduce(typename L::V x, typename L::V& e, typename L::V& m, typename L::I& i)
{
    using V = typename L::V;
    using I = typename L::I;
    const I ix = L::Bits(x);
    const I tmp = ix - I(kLogOffset);
    i = L::And(L::template Shr<45>(tmp), 127);
    const I biased = L::template Shr<52>(tmp + I(1024ULL << 52));
    e = L::FromBits(L::Or(biased, 0x4330000000000000ULL)) - V(0x1p52 + 1024.0);
    m = L::FromBits(ix - L::And(tmp, 0xFFF0000000000000ULL));
}

// The lanes of x in the interval of 1, [1 − 2^-9, 1 + 2^-8).
template <class L>
inline typename L::M NearOne(typename L::V x)
{
    using V = typename L::V;
    return L::Abs(x - V(1.0 + 0x1p-10)) < V(0x1p-9 + 0x1p-10);
}

}  // namespace qvnum
