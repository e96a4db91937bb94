// x^n for n a whole number or a half, from 1/2 to kPowIntMax, the inverse
// power's usual cases (the cube, 2.5, the seventh power), by squaring and
// multiplying in double-double and, for the half, a square root, without
// logarithm or exponential: in any lane type L.
//
// Each square or product keeps the exact product of the high parts and
// rounds the rest, 2^-104 of the value at most, and a square doubles the
// error it receives: after the at most 11 steps of n <= 64, under 2^-96
// (kPowIntError takes 2^-90). The rounding test then decides all but results
// within 2^-90 of a midpoint, the exact midpoints among them, which the
// scalar function settles. 2^(-960/n) <= x <= 2^(960/n) keeps every power
// between 2^-960 and 2^960, so that no product loses its exact error term.
//
// The half: s = √x rounded, x − s² exact (a known property of the rounded
// root), √x = s + (x − s²)/2s within 2^-105 of the value; one more product,
// 2^-104: the bound holds.
#pragma once

#include <cstdint>
#include <cstring>

#include "numerics/Exact.h"

namespace qvnum {

constexpr int kPowIntMax = 64;
constexpr double kPowIntError = 0x1p-90;

// 2y is a whole number from 1 to 2·kPowIntMax. Not inline: the sources built
// for an instruction set must not lend the linker a copy (VectorAvx.cpp).
bool IsSquaringPower(double y);

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

// √x = h + l, unrounded, for 2^-960 <= x <= 2^960.
template <class L>
inline Pair<typename L::V> SqrtPair(typename L::V x)
{
    using V = typename L::V;
    const V s = L::Sqrt(x);
    const Pair<V> p = L::TwoProd(s, s);
    return {s, ((x - p.h) - p.l) / (s + s)};  // x − p.h exact by Sterbenz's lemma
}

// x^(twice/2) = h + l, unrounded, twice from 2 to 2·kPowIntMax.
template <class L>
inline Pair<typename L::V> PowHalvesPair(typename L::V x, int twice)
{
    using V = typename L::V;
    if (twice % 2 == 0) return PowIntPair<L>(x, twice / 2);
    const Pair<V> w = PowIntPair<L>(x, twice / 2), s = SqrtPair<L>(x);
    const Pair<V> p = L::TwoProd(w.h, s.h);
    return {p.h, p.l + (w.h * s.l + w.l * s.h)};
}

// x^(twice/2) in the lanes where ok stays set, twice from 1 to 2·kPowIntMax.
template <class L>
inline typename L::V PowSquaringFast(typename L::V x, int twice, typename L::M& ok)
{
    using V = typename L::V;
    const uint64_t range = static_cast<uint64_t>(twice == 1 ? 960 : 1920 / twice);
    double lo, hi;
    const uint64_t loBits = (1023 - range) << 52, hiBits = (1023 + range) << 52;
    std::memcpy(&lo, &loBits, sizeof lo);
    std::memcpy(&hi, &hiBits, sizeof hi);
    ok = L::Both(ok, L::Both(V(lo) <= x, x <= V(hi)));
    if (twice == 1) return L::Sqrt(x);  // rounded correctly by IEEE 754 itself
    const Pair<V> v = PowHalvesPair<L>(x, twice);
    return RoundIfDecided<L>(v, v.h * V(kPowIntError), ok);
}

}  // namespace qvnum
