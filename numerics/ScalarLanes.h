// One lane: the operations the fast paths are written in (FastExp.h,
// FastLog.h), on a plain double. The vector forms offer the same names.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "numerics/Exact.h"

namespace qvnum {

struct ScalarLanes {
    static constexpr bool kFused = false;
    using V = double;
    using I = uint64_t;
    using M = bool;

    static I Bits(V v)
    {
        I i;
        std::memcpy(&i, &v, sizeof i);
        return i;
    }
    static V FromBits(I i)
    {
        V v;
        std::memcpy(&v, &i, sizeof v);
        return v;
    }
    static I And(I a, uint64_t b) { return a & b; }
    static I Or(I a, uint64_t b) { return a | b; }
    template <int n>
    static I Shl(I a)
    {
        return a << n;
    }
    template <int n>
    static I Shr(I a)
    {
        return a >> n;
    }
    static V Gather(const double* base, I i) { return base[i]; }
    static void GatherPair(const double* base, I i, V& first, V& second) { first = base[i], second = base[i + 1]; }
    // Dekker's, without fused multiply-adds: the definition of the functions.
    static Pair<V> TwoProd(V a, V b) { return qvnum::TwoProd(a, b); }
    static V Sqrt(V v) { return std::sqrt(v); }
    static V Abs(V v) { return FromBits(Bits(v) & 0x7FFFFFFFFFFFFFFFULL); }
    static M Both(M a, M b) { return a && b; }
    static V Select(M m, V a, V b) { return m ? a : b; }
};

}  // namespace qvnum
