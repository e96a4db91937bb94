// The row kernel on eight lanes of AVX-512. The divider is the bottleneck of
// the pair term (one square root and three divisions), so two of the three
// divisions are done by the multiply-add units instead: a quotient from a
// refined reciprocal, then a test that proves it is the correctly rounded
// n/d, the very double the divider would give. A group of eight pairs where
// any lane fails the test (a quotient that is a power of two or zero, values
// at the ends of the range, non-finite ones) is divided again by the divider.
// The fused multiply-adds here never replace a rounded product and sum of the
// plain loop: they only build and check quotients.
#pragma once

#include "engine/AvxRows.h"

#ifdef QV_EULER_AVX
#define QV_AVX512_FN __attribute__((target("avx512f,fma")))
// The maskz_ forms below with every lane on are the plain instructions; the
// plain intrinsics pass an undefined register that GCC 12 warns about.

struct Avx512Rows {
    static constexpr int kN = 8;
    using Inner = AvxRows;

    QV_AVX512_FN static __m512d Force(InverseSquare, __m512d mi, __m512d mj, __m512d c, double, __m512d r2, __m512d)
    {
        return _mm512_div_pd(_mm512_mul_pd(_mm512_mul_pd(mi, mj), c), r2);
    }
    // pow and exp call the C library lane by lane anyway: the plain force,
    // lane by lane.
    template <class Law>
    QV_AVX512_FN static __m512d Force(Law law, __m512d mi, __m512d mj, __m512d c, double p, __m512d r2, __m512d r)
    {
        alignas(64) double a[8], b[8], cc[8], d2[8], d[8];
        _mm512_store_pd(a, mi);
        _mm512_store_pd(b, mj);
        _mm512_store_pd(cc, c);
        _mm512_store_pd(d2, r2);
        _mm512_store_pd(d, r);
        for (int l = 0; l < 8; ++l) d[l] = ::Force(law, a[l], b[l], cc[l], p, d2[l], d[l]);
        return _mm512_load_pd(d);
    }

    // About 1/d, to a few units in the last place: two Newton steps from the
    // 14-bit estimate.
    QV_AVX512_FN static inline __m512d Reciprocal(__m512d d)
    {
        const __m512d one = _mm512_set1_pd(1.0);
        __m512d y = _mm512_maskz_rcp14_pd(0xFF, d);
        y = _mm512_fmadd_pd(y, _mm512_fnmadd_pd(d, y, one), y);
        return _mm512_fmadd_pd(y, _mm512_fnmadd_pd(d, y, one), y);
    }

    // n/d for d > 0, from y ≈ 1/d; clears the lanes of ok where the result is
    // not proven to be n/d rounded to nearest.
    QV_AVX512_FN static inline __m512d Quotient(__m512d n, __m512d d, __m512d y, __mmask8& ok)
    {
        const __m512d q0 = _mm512_mul_pd(n, y);
        const __m512d q = _mm512_fmadd_pd(_mm512_fnmadd_pd(q0, d, n), y, q0);
        ok = Proven(n, d, q, ok);
        return q;
    }

    // The lanes of ok where q is shown to be n/d rounded to nearest (d > 0).
    // For q normal and not a power of two (whose ulp below is half the one
    // above), q is that double if and only if |n − q·d| < d·ulp(q)/2: no
    // quotient of two doubles lies exactly halfway between two normal
    // doubles. Both sides are computed with one rounding each (the fused
    // residual; d times a power of two), and rounding is monotone, so a wrong
    // q, whose residual is at least the bound, never passes. A subnormal or
    // zero q gets a bound of 0 and fails, as do infinities and NaNs.
    QV_AVX512_FN static inline __mmask8 Proven(__m512d n, __m512d d, __m512d q, __mmask8 ok)
    {
        const __m512i bits = _mm512_castpd_si512(q);
        const __m512d scale = _mm512_castsi512_pd(_mm512_and_si512(bits, _mm512_set1_epi64(0x7FF0000000000000LL)));
        const __m512d bound = _mm512_mul_pd(d, _mm512_mul_pd(scale, _mm512_set1_pd(0x1p-53)));
        const __m512d residual = _mm512_abs_pd(_mm512_fnmadd_pd(q, d, n));
        ok = _mm512_mask_test_epi64_mask(ok, bits, _mm512_set1_epi64(0x000FFFFFFFFFFFFFLL));
        return _mm512_mask_cmp_pd_mask(ok, residual, bound, _CMP_LT_OQ);
    }

    template <class Get>
    QV_AVX512_FN static inline __m512d Lanes(Get get, int i0)
    {
        return _mm512_setr_pd(get(i0), get(i0 + 1), get(i0 + 2), get(i0 + 3), get(i0 + 4), get(i0 + 5), get(i0 + 6),
                              get(i0 + 7));
    }

    template <class Put>
    QV_AVX512_FN static inline void Store(Put put, int i0, __m512d v)
    {
        alignas(64) double o[8];
        _mm512_store_pd(o, v);
        for (int r = 0; r < 8; ++r) put(i0 + r) = o[r];
    }

    // acc + v[0] + … + v[7], in that order.
    QV_AVX512_FN static inline double AddLanes(double acc, __m512d v)
    {
        alignas(64) double o[8];
        _mm512_store_pd(o, v);
        for (double t : o) acc += t;
        return acc;
    }

    // The terms of the block's rows against planet j.
    template <class Law>
    QV_AVX512_FN static inline __attribute__((always_inline)) void Terms(__m512d xi, __m512d yi, __m512d mi, double xj,
                                                                        double yj, double mj, __m512d c, double p,
                                                                        __m512d& fx, __m512d& fy)
    {
        const __m512d dx = _mm512_sub_pd(xi, _mm512_set1_pd(xj));
        const __m512d dy = _mm512_sub_pd(yi, _mm512_set1_pd(yj));
        const __m512d r2 = _mm512_add_pd(_mm512_mul_pd(dx, dx), _mm512_mul_pd(dy, dy));
        const __m512d r = _mm512_maskz_sqrt_pd(0xFF, r2);
        const __m512d f = Force(Law{}, mi, _mm512_set1_pd(mj), c, p, r2, r);
        const __m512d nx = _mm512_mul_pd(f, dx), ny = _mm512_mul_pd(f, dy);
        const __m512d inv = Reciprocal(r);
        __mmask8 ok = 0xFF;
        fx = Quotient(nx, r, inv, ok);
        fy = Quotient(ny, r, inv, ok);
        if (ok != 0xFF) {
            fx = _mm512_div_pd(nx, r);
            fy = _mm512_div_pd(ny, r);
        }
    }

    // Eight registers of eight lanes, rows and columns swapped: v[k][r] becomes v[r][k].
    QV_AVX512_FN static inline void Transpose(__m512d* v)
    {
        __m512d t[8], u[8];
        for (int k = 0; k < 4; ++k) {
            t[2 * k] = _mm512_maskz_unpacklo_pd(0xFF, v[2 * k], v[2 * k + 1]);
            t[2 * k + 1] = _mm512_maskz_unpackhi_pd(0xFF, v[2 * k], v[2 * k + 1]);
        }
        const __m512i lo = _mm512_setr_epi64(0, 1, 8, 9, 4, 5, 12, 13), hi = _mm512_setr_epi64(2, 3, 10, 11, 6, 7, 14, 15);
        for (int k = 0; k < 2; ++k) {
            u[4 * k] = _mm512_permutex2var_pd(t[4 * k], lo, t[4 * k + 2]);
            u[4 * k + 1] = _mm512_permutex2var_pd(t[4 * k + 1], lo, t[4 * k + 3]);
            u[4 * k + 2] = _mm512_permutex2var_pd(t[4 * k], hi, t[4 * k + 2]);
            u[4 * k + 3] = _mm512_permutex2var_pd(t[4 * k + 1], hi, t[4 * k + 3]);
        }
        const __m512i first = _mm512_setr_epi64(0, 1, 2, 3, 8, 9, 10, 11);
        const __m512i second = _mm512_setr_epi64(4, 5, 6, 7, 12, 13, 14, 15);
        for (int k = 0; k < 4; ++k) {
            v[k] = _mm512_permutex2var_pd(u[k], first, u[k + 4]);
            v[k + 4] = _mm512_permutex2var_pd(u[k], second, u[k + 4]);
        }
    }

    // The rows' side of a term: kept, or taken by the rows' accumulators.
    template <bool bKeep>
    QV_AVX512_FN static inline void RowTerms(__m512d fx, __m512d fy, double* kx, double* ky, __m512d& fxi, __m512d& fyi)
    {
        if (bKeep) {
            _mm512_storeu_pd(kx, fx);
            _mm512_storeu_pd(ky, fy);
        } else {
            fxi = _mm512_sub_pd(fxi, fx);
            fyi = _mm512_sub_pd(fyi, fy);
        }
    }

    // Eight planets j at a time: their terms, swapped into one register per
    // row, go to the eight accumulators together, row after row.
    template <class Law, bool bKeep, class B>
    QV_AVX512_FN static void Block(const B& b, int i0, int j0, int j1, double c, double p, double* kx, double* ky)
    {
        const auto x = [&b](int i) -> double& { return b.X(i); };
        const auto y = [&b](int i) -> double& { return b.Y(i); };
        const auto m = [&b](int i) -> double& { return b.M(i); };
        const auto gx = [&b](int i) -> double& { return b.Fx(i); };
        const auto gy = [&b](int i) -> double& { return b.Fy(i); };
        const __m512d xi = Lanes(x, i0), yi = Lanes(y, i0), mi = Lanes(m, i0);
        __m512d fxi = bKeep ? _mm512_setzero_pd() : Lanes(gx, i0);
        __m512d fyi = bKeep ? _mm512_setzero_pd() : Lanes(gy, i0);
        const __m512d vc = _mm512_set1_pd(c);
        int j = j0;
        for (; j + kN <= j1; j += kN) {
            __m512d tx[kN], ty[kN];
            for (int k = 0; k < kN; ++k) {
                Terms<Law>(xi, yi, mi, b.X(j + k), b.Y(j + k), b.M(j + k), vc, p, tx[k], ty[k]);
                RowTerms<bKeep>(tx[k], ty[k], kx + (j + k - j0) * kN, ky + (j + k - j0) * kN, fxi, fyi);
            }
            Transpose(tx);
            Transpose(ty);
            __m512d sx = Lanes(gx, j), sy = Lanes(gy, j);
            for (int r = 0; r < kN; ++r) {
                sx = _mm512_add_pd(sx, tx[r]);
                sy = _mm512_add_pd(sy, ty[r]);
            }
            Store(gx, j, sx);
            Store(gy, j, sy);
        }
        for (; j < j1; ++j) {
            __m512d fx, fy;
            Terms<Law>(xi, yi, mi, b.X(j), b.Y(j), b.M(j), vc, p, fx, fy);
            RowTerms<bKeep>(fx, fy, kx + (j - j0) * kN, ky + (j - j0) * kN, fxi, fyi);
            b.Fx(j) = AddLanes(b.Fx(j), fx);
            b.Fy(j) = AddLanes(b.Fy(j), fy);
        }
        if (bKeep) return;
        Store(gx, i0, fxi);
        Store(gy, i0, fyi);
    }

    // Eight planets at a time, the fixed ones and those past hi masked off.
    QV_AVX512_FN static void Move(const Columns& s, int lo, int hi, double dt)
    {
        const __m512d vdt = _mm512_set1_pd(dt), zero = _mm512_setzero_pd();
        for (int k = lo; k < hi; k += kN) {
            const __mmask8 in = static_cast<__mmask8>(hi - k >= kN ? 0xFF : (1u << (hi - k)) - 1u);
            const __mmask8 go = _mm512_mask_cmp_pd_mask(in, _mm512_maskz_loadu_pd(in, s.fixed + k), zero, _CMP_EQ_OQ);
            const __m512d m = _mm512_maskz_loadu_pd(go, s.m + k);
            const __m512d vx = _mm512_mask_add_pd(_mm512_maskz_loadu_pd(go, s.vx + k), go,
                                                  _mm512_maskz_loadu_pd(go, s.vx + k),
                                                  _mm512_maskz_div_pd(go, _mm512_mul_pd(_mm512_maskz_loadu_pd(go, s.fx + k), vdt), m));
            const __m512d vy = _mm512_mask_add_pd(_mm512_maskz_loadu_pd(go, s.vy + k), go,
                                                  _mm512_maskz_loadu_pd(go, s.vy + k),
                                                  _mm512_maskz_div_pd(go, _mm512_mul_pd(_mm512_maskz_loadu_pd(go, s.fy + k), vdt), m));
            _mm512_mask_storeu_pd(s.vx + k, go, vx);
            _mm512_mask_storeu_pd(s.vy + k, go, vy);
            _mm512_mask_storeu_pd(s.x + k, go, _mm512_add_pd(_mm512_maskz_loadu_pd(go, s.x + k), _mm512_mul_pd(vx, vdt)));
            _mm512_mask_storeu_pd(s.y + k, go, _mm512_add_pd(_mm512_maskz_loadu_pd(go, s.y + k), _mm512_mul_pd(vy, vdt)));
        }
    }

    // Four blocks of rows at a time: each chain waits on its last subtraction.
    QV_AVX512_FN static void Take(const Columns& s, int lo, int i1, int nJ, const double* kx, const double* ky)
    {
        constexpr int G = 4;
        int i0 = lo;
        for (; i0 + G * kN <= i1; i0 += G * kN) {
            __m512d fx[G], fy[G];
            for (int g = 0; g < G; ++g) {
                fx[g] = _mm512_loadu_pd(s.fx + i0 + g * kN);
                fy[g] = _mm512_loadu_pd(s.fy + i0 + g * kN);
            }
            for (int q = 0; q < nJ; ++q)
                for (int g = 0; g < G; ++g) {
                    const size_t at = static_cast<size_t>(i0 + g * kN) * nJ + static_cast<size_t>(q) * kN;
                    fx[g] = _mm512_sub_pd(fx[g], _mm512_loadu_pd(kx + at));
                    fy[g] = _mm512_sub_pd(fy[g], _mm512_loadu_pd(ky + at));
                }
            for (int g = 0; g < G; ++g) {
                _mm512_storeu_pd(s.fx + i0 + g * kN, fx[g]);
                _mm512_storeu_pd(s.fy + i0 + g * kN, fy[g]);
            }
        }
        for (; i0 < i1; i0 += kN) {
            __m512d fx = _mm512_loadu_pd(s.fx + i0), fy = _mm512_loadu_pd(s.fy + i0);
            for (int q = 0; q < nJ; ++q) {
                const size_t at = static_cast<size_t>(i0) * nJ + static_cast<size_t>(q) * kN;
                fx = _mm512_sub_pd(fx, _mm512_loadu_pd(kx + at));
                fy = _mm512_sub_pd(fy, _mm512_loadu_pd(ky + at));
            }
            _mm512_storeu_pd(s.fx + i0, fx);
            _mm512_storeu_pd(s.fy + i0, fy);
        }
    }
};

#endif
