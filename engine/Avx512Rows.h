// The row kernel on eight lanes of AVX-512, built in RowsAvx512.cpp with
// -mavx512f -mfma; called only on processors with both. Of the pair term's
// square root and three divisions, the x quotient goes to the multiply-add
// units, so that they share the work with the divider: kept only where a test
// proves it is the divider's double, else divided again. The fused
// multiply-adds only build and check quotients and give exact products'
// error terms (numerics/Avx512Lanes.h): none stands for a rounded product
// and sum of the plain loop.
#pragma once

#include "engine/AvxRows.h"

#ifdef QV_EULER_AVX
#include <immintrin.h>

#include <type_traits>

#define QV_AVX512_FN __attribute__((target("avx512f,fma")))
// The maskz_ forms below with every lane on are the plain instructions; the
// plain intrinsics pass an undefined register that GCC 12 warns about.

struct Avx512Quotient {

    // n/d for d > 0 from a reciprocal refined twice; clears the lanes of ok
    // where it is not proven to be n/d rounded to nearest.
    QV_AVX512_FN static inline __m512d Quotient(__m512d n, __m512d d, __mmask8& ok)
    {
        const __m512d one = _mm512_set1_pd(1.0);
        __m512d y = _mm512_maskz_rcp14_pd(0xFF, d);
        y = _mm512_fmadd_pd(y, _mm512_fnmadd_pd(d, y, one), y);
        y = _mm512_fmadd_pd(y, _mm512_fnmadd_pd(d, y, one), y);
        const __m512d q0 = _mm512_mul_pd(n, y);
        const __m512d q = _mm512_fmadd_pd(_mm512_fnmadd_pd(q0, d, n), y, q0);
        ok = Proven(n, d, q, ok);
        return q;
    }

    // The lanes of ok where q is shown to be n/d rounded to nearest (d > 0).
    // For q normal and not a power of two (whose ulp below is half the one
    // above; kept out as a guard), q is that double if and only if
    // |n − q·d| < d·ulp(q)/2: no quotient of two doubles lies exactly halfway
    // between two normal doubles. Both sides are computed with one rounding
    // each (the fused residual; d times a power of two), and rounding is
    // monotone, so a wrong q, whose residual is at least the bound, never
    // passes. A subnormal or zero q gets a bound of 0 and fails, as do
    // infinities and NaNs.
    QV_AVX512_FN static inline __mmask8 Proven(__m512d n, __m512d d, __m512d q, __mmask8 ok)
    {
        const __m512i bits = _mm512_castpd_si512(q);
        const __m512d scale = _mm512_castsi512_pd(_mm512_and_si512(bits, _mm512_set1_epi64(0x7FF0000000000000LL)));
        const __m512d bound = _mm512_mul_pd(d, _mm512_mul_pd(scale, _mm512_set1_pd(0x1p-53)));
        const __m512d residual = _mm512_abs_pd(_mm512_fnmadd_pd(q, d, n));
        ok = _mm512_mask_test_epi64_mask(ok, bits, _mm512_set1_epi64(0x000FFFFFFFFFFFFFLL));
        return _mm512_mask_cmp_pd_mask(ok, residual, bound, _CMP_LT_OQ);
    }

};

// T registers of eight rows: kN = 8·T rows. Two (numerics/TwinLanes.h) let
// the processor overlap the long chains of pow and exp, and of the divider
// (four spill registers, and the inverse square loses); the pairs inside a
// block take one.
template <int T>
struct Avx512RowsOf : Avx512Quotient {
    static constexpr int kN = 8 * T;
    using Inner = std::conditional_t<T == 1, AvxRows, Avx512RowsOf<1>>;

    template <class Law, Side side, class B>
    static void Block(const B& b, int i0, int j0, int j1, double c, double p);
    // The pairs among the kN rows from i0, in lanes (eight rows only).
    static constexpr bool kInside = T == 1;
    template <class Law, class B>
    static void Inside(const B& b, int i0, double c, double p);
};
using Avx512Rows = Avx512RowsOf<2>;

#endif
