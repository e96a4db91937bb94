// The row kernel on four lanes of AVX (no FMA: no multiply may be fused with
// an add), built in RowsAvx.cpp with -mavx alone; called only on processors
// with AVX.
#pragma once

#include "engine/PairTerms.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QV_EULER_AVX 1

struct AvxRows {
    static constexpr int kN = 4;
    using Inner = PortableRows<1>;

    template <class Law, Side side, class B>
    static void Block(const B& b, int i0, int j0, int j1, double c, double p);
};
#endif
