// The row kernel on four lanes of AVX: four rows in one register, each lane
// doing the plain loop's operations for its row (IEEE +, −, ×, ÷ and √ are
// correctly rounded whether done one at a time or four at a time).
#pragma once

#include <algorithm>

#include "engine/PairTerms.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QV_EULER_AVX 1
#include <immintrin.h>
// AVX only, not FMA: no multiply may be fused with an add.
#define QV_AVX_FN __attribute__((target("avx")))

struct AvxRows {
    static constexpr int kN = 4;
    using Inner = void;

    QV_AVX_FN static __m256d Force(InverseSquare, __m256d mi, __m256d mj, __m256d c, double, __m256d r2, __m256d)
    {
        return _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(mi, mj), c), r2);
    }
    // pow and exp stay the C library's, lane by lane.
    QV_AVX_FN static __m256d Force(InversePower, __m256d mi, __m256d mj, __m256d c, double n, __m256d, __m256d r)
    {
        alignas(32) double d[4];
        _mm256_store_pd(d, r);
        for (double& v : d) v = std::pow(v, n);
        return _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(mi, mj), c), _mm256_load_pd(d));
    }
    QV_AVX_FN static __m256d Force(Exponential, __m256d mi, __m256d mj, __m256d c, double k, __m256d, __m256d r)
    {
        alignas(32) double e[4];
        _mm256_store_pd(e, _mm256_mul_pd(r, _mm256_set1_pd(k)));
        for (double& v : e) v = std::exp(v);
        return _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_load_pd(e), mi), mj), c);
    }

    // acc + v[0] + v[1] + v[2] + v[3], in that order.
    QV_AVX_FN static inline double AddLanes(double acc, __m256d v)
    {
        const __m128d lo = _mm256_castpd256_pd128(v);
        const __m128d hi = _mm256_extractf128_pd(v, 1);
        acc += _mm_cvtsd_f64(lo);
        acc += _mm_cvtsd_f64(_mm_unpackhi_pd(lo, lo));
        acc += _mm_cvtsd_f64(hi);
        acc += _mm_cvtsd_f64(_mm_unpackhi_pd(hi, hi));
        return acc;
    }

    // Plain calls, not pointers to members: those stay out-of-line calls into
    // code without AVX, which then runs with the upper lanes dirty.
    template <class Get>
    QV_AVX_FN static inline __m256d Lanes(Get get, int i0)
    {
        return _mm256_setr_pd(get(i0), get(i0 + 1), get(i0 + 2), get(i0 + 3));
    }

    template <class Put>
    QV_AVX_FN static inline void Store(Put put, int i0, __m256d v)
    {
        alignas(32) double o[4];
        _mm256_store_pd(o, v);
        for (int r = 0; r < 4; ++r) put(i0 + r) = o[r];
    }

    template <class Law, bool bKeep, class B>
    QV_AVX_FN static void Block(const B& b, int i0, int j0, int j1, double c, double p, double* kx, double* ky)
    {
        const auto x = [&b](int i) -> double& { return b.X(i); };
        const auto y = [&b](int i) -> double& { return b.Y(i); };
        const auto m = [&b](int i) -> double& { return b.M(i); };
        const auto gx = [&b](int i) -> double& { return b.Fx(i); };
        const auto gy = [&b](int i) -> double& { return b.Fy(i); };
        const __m256d xi = Lanes(x, i0), yi = Lanes(y, i0), mi = Lanes(m, i0);
        __m256d fxi = bKeep ? _mm256_setzero_pd() : Lanes(gx, i0);
        __m256d fyi = bKeep ? _mm256_setzero_pd() : Lanes(gy, i0);
        const __m256d vc = _mm256_set1_pd(c);
        for (int j = j0; j < j1; ++j) {
            const __m256d dx = _mm256_sub_pd(xi, _mm256_broadcast_sd(&b.X(j)));
            const __m256d dy = _mm256_sub_pd(yi, _mm256_broadcast_sd(&b.Y(j)));
            const __m256d r2 = _mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy));
            const __m256d r = _mm256_sqrt_pd(r2);
            const __m256d f = Force(Law{}, mi, _mm256_broadcast_sd(&b.M(j)), vc, p, r2, r);
            const __m256d fx = _mm256_div_pd(_mm256_mul_pd(f, dx), r);
            const __m256d fy = _mm256_div_pd(_mm256_mul_pd(f, dy), r);
            if (bKeep) {
                _mm256_storeu_pd(kx + (j - j0) * kN, fx);
                _mm256_storeu_pd(ky + (j - j0) * kN, fy);
            } else {
                fxi = _mm256_sub_pd(fxi, fx);
                fyi = _mm256_sub_pd(fyi, fy);
            }
            b.Fx(j) = AddLanes(b.Fx(j), fx);
            b.Fy(j) = AddLanes(b.Fy(j), fy);
        }
        if (bKeep) return;
        Store(gx, i0, fxi);
        Store(gy, i0, fyi);
    }

    static void Move(const Columns& s, int lo, int hi, double dt) { MoveColumns(s, lo, hi, dt); }

    // Four blocks of rows at a time: each chain waits on its last subtraction.
    QV_AVX_FN static void Take(const Columns& s, int lo, int i1, int nJ, const double* kx, const double* ky)
    {
        constexpr int G = 4;
        for (int i0 = lo; i0 < i1; i0 += G * kN) {
            const int nG = std::min(G, (i1 - i0) / kN);
            __m256d fx[G], fy[G];
            for (int g = 0; g < nG; ++g) {
                fx[g] = _mm256_loadu_pd(s.fx + i0 + g * kN);
                fy[g] = _mm256_loadu_pd(s.fy + i0 + g * kN);
            }
            for (int q = 0; q < nJ; ++q)
                for (int g = 0; g < nG; ++g) {
                    const size_t at = static_cast<size_t>(i0 + g * kN) * nJ + static_cast<size_t>(q) * kN;
                    fx[g] = _mm256_sub_pd(fx[g], _mm256_loadu_pd(kx + at));
                    fy[g] = _mm256_sub_pd(fy[g], _mm256_loadu_pd(ky + at));
                }
            for (int g = 0; g < nG; ++g) {
                _mm256_storeu_pd(s.fx + i0 + g * kN, fx[g]);
                _mm256_storeu_pd(s.fy + i0 + g * kN, fy[g]);
            }
        }
    }
};
#endif
