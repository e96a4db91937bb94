// Error-free transformations: a sum or product of two doubles as an unevaluated
// sum of two, from IEEE operations alone (no fused multiply-add). Templates
// over the lane type, so that the vector forms do each lane's operations in
// the scalar order and give its bits.
#pragma once

namespace qvnum {

template <class V>
struct Pair {
    V h, l;
};

// a + b = s + e exactly (Knuth), any magnitudes.
template <class V>
inline Pair<V> TwoSum(V a, V b)
{
    const V s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b = s + e exactly when a is 0 or |a| >= |b| (Dekker).
template <class V>
inline Pair<V> FastTwoSum(V a, V b)
{
    const V s = a + b;
    return {s, b - (s - a)};
}

// a = h + l with h of 26 significant bits (Veltkamp); |a| < 2^995.
template <class V>
inline Pair<V> Split(V a)
{
    const V c = a * V(134217729.0), h = c - (c - a);
    return {h, a - h};
}

// a·b = p + e exactly (Dekker), unless the product underflows.
template <class V>
inline Pair<V> TwoProd(V a, V b)
{
    const V p = a * b;
    const Pair<V> x = Split(a), y = Split(b);
    return {p, ((x.h * y.h - p) + x.h * y.l + x.l * y.h) + x.l * y.l};
}

// h + l rounded to nearest, in the lanes where every value within e of it
// rounds alike (ok stays set there): the fast paths' rounding test.
template <class L>
inline typename L::V RoundIfDecided(Pair<typename L::V> v, typename L::V e, typename L::M& ok)
{
    const typename L::V a = v.h + (v.l - e), b = v.h + (v.l + e);
    ok = L::Both(ok, a == b);
    return a;
}

}  // namespace qvnum
