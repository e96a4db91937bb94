// The vector forms over any lane type L of N lanes: the fast path on every
// lane, then the scalar function on the lanes it leaves. Included by one
// source per instruction set, each built for it. out may be x.
#pragma once

#include "numerics/CorrectlyRounded.h"
#include "numerics/FastPow.h"

namespace qvnum {

template <class L, int N>
inline void ExpLanes(const double* x, double* out)
{
    using V = typename L::V;
    double in[N];
    const V v = L::Load(x);
    L::Store(in, v);
    typename L::M ok = L::True();
    L::Store(out, ExpFast<L>(v, V(0.0), V(0.0), ok));
    const int m = L::Mask(ok);
    if (m != (1 << N) - 1)
        for (int i = 0; i < N; ++i)
            if ((m >> i & 1) == 0) out[i] = CrExp(in[i]);
}

template <class L, int N>
inline void PowLanes(const double* x, double y, double* out)
{
    using V = typename L::V;
    double in[N];
    const V v = L::Load(x);
    L::Store(in, v);
    int m = 0;
    if (y - y == 0.0 && y < 0x1p64 && y > -0x1p64) {  // y finite and within the fast path's range
        typename L::M ok = L::Both(V(0x1p-1022) <= v, v <= V(0x1.fffffffffffffp1023));
        L::Store(out, PowFast<L>(v, V(y), ok));
        m = L::Mask(ok);
    }
    if (m != (1 << N) - 1)
        for (int i = 0; i < N; ++i)
            if ((m >> i & 1) == 0) out[i] = CrPow(in[i], y);
}

}  // namespace qvnum
