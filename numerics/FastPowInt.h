// x^n for a whole n from 1 to kPowIntMax, the inverse power's usual case
// (the cube, the seventh power), by squaring and multiplying in
// double-double, without logarithm or exponential: in any lane type L.
//
// Each square or product keeps the exact product of the high parts and
// rounds the rest, 2^-104 of the value at most, and a square doubles the
// error it receives: after the at most 11 steps of n <= 64, under 2^-96
// (kPowIntError takes 2^-90). The rounding test then decides all but results
// within 2^-90 of a midpoint, the exact midpoints among them, which the
// scalar function settles. 2^(-960/n) <= x <= 2^(960/n) keeps every power
// between 2^-960 and 2^960, so that no product loses its exact error term.
#pragma once

#include <cstdint>
#include <cstring>

#include "numerics/Exact.h"

namespace qvnum {

constexpr int kPowIntMax = 64;
constexpr double kPowIntError = 0x1p-90;

// y is a whole number from 1 to kPowIntMax. Not inline: the sources built for
// an instruction set must not lend the linker a copy (VectorAvx.cpp).
bool IsWholePower(double y);

// x^n = h + l, unrounded: relative error below kPowIntError in the range below.
template <class L>
inline Pair<typename L::V> PowIntPair(typename L::V x, int n)
{
    using V = typename L::V;
    int top = 0;
    while ((n >> (top + 1)) != 0) ++top;
    V h = x, l = V(0.0);
    for (int bit = top - 1; bit >= 0; --bit) {
        const Pair<V> s = L::TwoProd(h, h);
        l = s.l + (h + h) * l;
        h = s.h;
        if ((n >> bit & 1) != 0) {
            const Pair<V> p = L::TwoProd(h, x);
            l = p.l + l * x;
            h = p.h;
        }
    }
    return {h, l};
}

// x^n in the lanes where ok stays set.
template <class L>
inline typename L::V PowIntFast(typename L::V x, int n, typename L::M& ok)
{
    using V = typename L::V;
    const Pair<V> v = PowIntPair<L>(x, n);
    const V err = v.h * V(kPowIntError);
    const V a = v.h + (v.l - err), b = v.h + (v.l + err);
    const uint64_t range = static_cast<uint64_t>(960 / n);
    double lo, hi;
    const uint64_t loBits = (1023 - range) << 52, hiBits = (1023 + range) << 52;
    std::memcpy(&lo, &loBits, sizeof lo);
    std::memcpy(&hi, &hiBits, sizeof hi);
    ok = L::Both(ok, L::Both(L::Both(V(lo) <= x, x <= V(hi)), a == b));
    return a;
}

}  // namespace qvnum
