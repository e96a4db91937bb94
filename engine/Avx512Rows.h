// The row kernel on eight lanes of AVX-512, every law (pow and exp in eight
// lanes, each the scalar function's bits). Of the pair
// term's square root and three divisions, the x quotient goes to the
// multiply-add units, so that they share the work with the divider: kept only
// where a test proves it is the divider's double, else divided again. The
// fused multiply-adds only build and check quotients: none stands for a
// rounded product and sum of the plain loop.
#pragma once

#include "engine/AvxRows.h"

#ifdef QV_EULER_AVX
#define QV_AVX512_FN __attribute__((target("avx512f,fma")))
// The maskz_ forms below with every lane on are the plain instructions; the
// plain intrinsics pass an undefined register that GCC 12 warns about.

struct Avx512Rows {
    static constexpr int kN = 8;
    using Inner = AvxRows;

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

    // F for masses ma, mb in index order.
    QV_AVX512_FN static __m512d Force(InverseSquare, __m512d ma, __m512d mb, __m512d c, double, __m512d r2, __m512d)
    {
        return _mm512_div_pd(_mm512_mul_pd(_mm512_mul_pd(ma, mb), c), r2);
    }
    QV_AVX512_FN static __m512d Force(InversePower, __m512d ma, __m512d mb, __m512d c, double n, __m512d, __m512d r)
    {
        alignas(64) double d[8];
        _mm512_store_pd(d, r);
        CrPowAvx512(d, n, d);
        return _mm512_div_pd(_mm512_mul_pd(_mm512_mul_pd(ma, mb), c), _mm512_load_pd(d));
    }
    QV_AVX512_FN static __m512d Force(Exponential, __m512d ma, __m512d mb, __m512d c, double k, __m512d, __m512d r)
    {
        alignas(64) double e[8];
        _mm512_store_pd(e, _mm512_mul_pd(r, _mm512_set1_pd(k)));
        CrExpAvx512(e, e);
        return _mm512_mul_pd(_mm512_mul_pd(_mm512_mul_pd(_mm512_load_pd(e), ma), mb), c);
    }

    template <class Law, Side side, class B>
    QV_AVX512_FN static void Block(const B& b, int i0, int j0, int j1, double c, double p)
    {
        alignas(64) double v[5][8];
        for (int r = 0; r < kN; ++r)
            v[0][r] = b.X(i0 + r), v[1][r] = b.Y(i0 + r), v[2][r] = b.M(i0 + r), v[3][r] = b.Fx(i0 + r), v[4][r] = b.Fy(i0 + r);
        const __m512d xi = _mm512_load_pd(v[0]), yi = _mm512_load_pd(v[1]), mi = _mm512_load_pd(v[2]);
        __m512d fxi = _mm512_load_pd(v[3]), fyi = _mm512_load_pd(v[4]);
        for (int j = j0; j < j1; ++j) {
            const __m512d dx = _mm512_sub_pd(xi, _mm512_set1_pd(b.X(j)));
            const __m512d dy = _mm512_sub_pd(yi, _mm512_set1_pd(b.Y(j)));
            const __m512d r2 = _mm512_add_pd(_mm512_mul_pd(dx, dx), _mm512_mul_pd(dy, dy));
            const __m512d r = _mm512_maskz_sqrt_pd(0xFF, r2);
            const __m512d mj = _mm512_set1_pd(b.M(j));
            const __m512d vc = _mm512_set1_pd(c);
            const __m512d f = side == kBefore ? Force(Law{}, mj, mi, vc, p, r2, r) : Force(Law{}, mi, mj, vc, p, r2, r);
            const __m512d nx = _mm512_mul_pd(f, dx);
            __mmask8 ok = 0xFF;
            __m512d fx = Quotient(nx, r, ok);
            if (ok != 0xFF) fx = _mm512_div_pd(nx, r);
            const __m512d fy = _mm512_div_pd(_mm512_mul_pd(f, dy), r);
            fxi = _mm512_sub_pd(fxi, fx);
            fyi = _mm512_sub_pd(fyi, fy);
            if (side == kTriangle) {
                _mm512_store_pd(v[3], fx);
                _mm512_store_pd(v[4], fy);
                for (int r = 0; r < kN; ++r) b.Fx(j) += v[3][r], b.Fy(j) += v[4][r];
            }
        }
        _mm512_store_pd(v[3], fxi);
        _mm512_store_pd(v[4], fyi);
        for (int r = 0; r < kN; ++r) b.Fx(i0 + r) = v[3][r], b.Fy(i0 + r) = v[4][r];
    }
};

#endif
