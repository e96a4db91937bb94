// The vector forms over any lane type L of N lanes, on registers: the fast
// path on every lane, then the scalar function on the lanes it leaves (about
// one in 10^4). The row kernels call ExpOf and PowOf inline; the sources per
// instruction set wrap them for memory. Each is built for its instruction set.
#pragma once

#include "numerics/CorrectlyRounded.h"
#include "numerics/FastPow.h"
#include "numerics/FastPowInt.h"

namespace qvnum {

// The lanes of out outside mask m replaced by f(x) of theirs.
template <class L, int N, class F>
inline typename L::V Patched(typename L::V x, typename L::V out, int m, F f)
{
    double in[N], res[N];
    L::Store(in, x);
    L::Store(res, out);
    for (int i = 0; i < N; ++i)
        if ((m >> i & 1) == 0) res[i] = f(in[i]);
    return L::Load(res);
}

// CrExp of every lane.
template <class L, int N>
inline typename L::V ExpOf(typename L::V x)
{
    using V = typename L::V;
    typename L::M ok = L::True();
    const V out = ExpFast<L>(x, V(-0.0), V(0.0), ok);  // adding −0 changes nothing, and the compiler drops it
    const int m = L::Mask(ok);
    if (m == (1 << N) - 1) return out;
    return Patched<L, N>(x, out, m, [](double a) { return CrExp(a); });
}

// CrPow(x, n) of every lane, n a whole number or a half from 1/2 to
// kPowIntMax (IsSquaringPower).
template <class L, int N>
inline typename L::V PowSquaringOf(typename L::V x, double n)
{
    typename L::M ok = L::True();
    const typename L::V out = PowSquaringFast<L>(x, static_cast<int>(n + n), ok);
    const int m = L::Mask(ok);
    if (m == (1 << N) - 1) return out;
    return Patched<L, N>(x, out, m, [n](double a) { return CrPow(a, n); });
}

// CrPow(x, y) of every lane, by logarithm and exponential.
template <class L, int N>
inline typename L::V PowOf(typename L::V x, double y)
{
    using V = typename L::V;
    const double ay = y < 0.0 ? -y : y;
    int m = 0;
    V out = x;
    if (ay < 0x1p64 && (ay >= 0x1p-900 || ay == 0.0)) {  // y finite, within the fast path's range (FastPow.h)
        typename L::M ok = L::Both(V(0x1p-1022) <= x, x <= V(0x1.fffffffffffffp1023));
        out = PowFast<L>(x, V(y), ok);
        m = L::Mask(ok);
    }
    if (m == (1 << N) - 1) return out;
    return Patched<L, N>(x, out, m, [y](double a) { return CrPow(a, y); });
}

template <class L, int N>
inline void ExpLanes(const double* x, double* out)
{
    L::Store(out, ExpOf<L, N>(L::Load(x)));
}

template <class L, int N>
inline void PowLanes(const double* x, double y, double* out)
{
    L::Store(out, IsSquaringPower(y) ? PowSquaringOf<L, N>(L::Load(x), y) : PowOf<L, N>(L::Load(x), y));
}

}  // namespace qvnum
