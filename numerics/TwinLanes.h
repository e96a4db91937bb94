// Two registers of a lane type L (N lanes each) as one lane type of 2N lanes:
// every operation on the first half, then on the second. The fast paths are
// long chains of dependent operations; two independent chains side by side
// in the program let the processor overlap them, which one chain at a time
// its scheduler's window does not.
#pragma once

#include <cstdint>

#include "numerics/Exact.h"

namespace qvnum {

template <class L, int N>
struct TwinLanes {
    using H = typename L::V;
    static constexpr bool kFused = L::kFused;
    struct V {
        H a, b;
        V() = default;
        V(double d) : a(d), b(d) {}
        V(H x, H y) : a(x), b(y) {}
        friend V operator+(V x, V y) { return {x.a + y.a, x.b + y.b}; }
        friend V operator-(V x, V y) { return {x.a - y.a, x.b - y.b}; }
        friend V operator*(V x, V y) { return {x.a * y.a, x.b * y.b}; }
        friend V operator/(V x, V y) { return {x.a / y.a, x.b / y.b}; }
    };
    struct M {
        typename L::M a, b;
    };
    struct I {
        typename L::I a, b;
        I() = default;
        I(uint64_t u) : a(u), b(u) {}
        I(typename L::I x, typename L::I y) : a(x), b(y) {}
        friend I operator+(I x, I y) { return {x.a + y.a, x.b + y.b}; }
        friend I operator-(I x, I y) { return {x.a - y.a, x.b - y.b}; }
    };
    friend M operator<(V x, V y) { return {x.a < y.a, x.b < y.b}; }
    friend M operator<=(V x, V y) { return {x.a <= y.a, x.b <= y.b}; }
    friend M operator==(V x, V y) { return {x.a == y.a, x.b == y.b}; }

    static I Bits(V x) { return {L::Bits(x.a), L::Bits(x.b)}; }
    static V FromBits(I x) { return {L::FromBits(x.a), L::FromBits(x.b)}; }
    static I And(I x, uint64_t m) { return {L::And(x.a, m), L::And(x.b, m)}; }
    static I Or(I x, uint64_t m) { return {L::Or(x.a, m), L::Or(x.b, m)}; }
    template <int n>
    static I Shl(I x)
    {
        return {L::template Shl<n>(x.a), L::template Shl<n>(x.b)};
    }
    template <int n>
    static I Shr(I x)
    {
        return {L::template Shr<n>(x.a), L::template Shr<n>(x.b)};
    }
    static V Gather(const double* base, I i) { return {L::Gather(base, i.a), L::Gather(base, i.b)}; }
    static void GatherPair(const double* base, I i, V& first, V& second)
    {
        L::GatherPair(base, i.a, first.a, second.a);
        L::GatherPair(base, i.b, first.b, second.b);
    }
    static void Exp2Table(I k, V& h, V& m)
    {
        L::Exp2Table(k.a, h.a, m.a);
        L::Exp2Table(k.b, h.b, m.b);
    }
    static Pair<V> TwoProd(V x, V y)
    {
        const Pair<H> p = L::TwoProd(x.a, y.a), q = L::TwoProd(x.b, y.b);
        return {{p.h, q.h}, {p.l, q.l}};
    }
    static V Fma(V x, V y, V z) { return {L::Fma(x.a, y.a, z.a), L::Fma(x.b, y.b, z.b)}; }
    static V ScaleB(V x, V n) { return {L::ScaleB(x.a, n.a), L::ScaleB(x.b, n.b)}; }
    static V Sqrt(V x) { return {L::Sqrt(x.a), L::Sqrt(x.b)}; }
    static V Abs(V x) { return {L::Abs(x.a), L::Abs(x.b)}; }
    static M Both(M x, M y) { return {L::Both(x.a, y.a), L::Both(x.b, y.b)}; }
    static V Select(M m, V x, V y) { return {L::Select(m.a, x.a, y.a), L::Select(m.b, x.b, y.b)}; }
    static int Mask(M m) { return L::Mask(m.a) | L::Mask(m.b) << N; }
    static M True() { return {L::True(), L::True()}; }
    static V Load(const double* p) { return {L::Load(p), L::Load(p + N)}; }
    static void Store(double* p, V x) { L::Store(p, x.a), L::Store(p + N, x.b); }
};

}  // namespace qvnum
