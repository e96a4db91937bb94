// One lane with a fused multiply-add (the C library's, correctly rounded), so
// that the fused fast paths' double-doubles can be measured on any processor.
#pragma once

#include <cmath>

#include "numerics/ScalarLanes.h"
#include "numerics/Tables.h"

struct FusedScalarLanes : qvnum::ScalarLanes {
    static constexpr bool kFused = true;
    static V Fma(V a, V b, V c) { return std::fma(a, b, c); }
    static qvnum::Pair<V> TwoProd(V a, V b) { return {a * b, std::fma(a, b, -(a * b))}; }
    static V ScaleB(V a, V n) { return std::ldexp(a, static_cast<int>(std::floor(n))); }
    static void Exp2Table(I k, V& h, V& m)
    {
        using qvnum::kExp2Coarse, qvnum::kExp2Fine;
        const int a = static_cast<int>(k >> 4 & 7), b = static_cast<int>(k & 15);
        h = kExp2Coarse[0][a] * kExp2Fine[0][b];
        m = std::fma(kExp2Coarse[1][a], kExp2Fine[0][b],
                     std::fma(kExp2Coarse[0][a], kExp2Fine[1][b], std::fma(kExp2Coarse[0][a], kExp2Fine[0][b], -h)));
    }
};
