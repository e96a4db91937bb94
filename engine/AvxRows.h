// The row kernel on four lanes of AVX: four rows in one register, each lane
// doing the plain loop's operations for its row (IEEE +, −, ×, ÷ and √ are
// correctly rounded whether done one at a time or four at a time).
#pragma once

#include "engine/PairTerms.h"
#include "numerics/VectorForms.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QV_EULER_AVX 1
#include <immintrin.h>
// AVX only, not FMA: no multiply may be fused with an add.
#define QV_AVX_FN __attribute__((target("avx")))

struct AvxRows {
    static constexpr int kN = 4;
    using Inner = PortableRows<1>;

    // F for masses ma, mb in index order; pow and exp in four lanes, each the scalar one's bits.
    QV_AVX_FN static __m256d Force(InverseSquare, __m256d ma, __m256d mb, __m256d c, double, __m256d r2, __m256d)
    {
        return _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(ma, mb), c), r2);
    }
    QV_AVX_FN static __m256d Force(InversePower, __m256d ma, __m256d mb, __m256d c, double n, __m256d, __m256d r)
    {
        alignas(32) double d[4];
        _mm256_store_pd(d, r);
        CrPowAvx(d, n, d);
        return _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(ma, mb), c), _mm256_load_pd(d));
    }
    QV_AVX_FN static __m256d Force(Exponential, __m256d ma, __m256d mb, __m256d c, double k, __m256d, __m256d r)
    {
        alignas(32) double e[4];
        _mm256_store_pd(e, _mm256_mul_pd(r, _mm256_set1_pd(k)));
        CrExpAvx(e, e);
        return _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_load_pd(e), ma), mb), c);
    }

    template <class Law, Side side, class B>
    QV_AVX_FN static void Block(const B& b, int i0, int j0, int j1, double c, double p)
    {
        alignas(32) double v[5][4];
        for (int r = 0; r < kN; ++r)
            v[0][r] = b.X(i0 + r), v[1][r] = b.Y(i0 + r), v[2][r] = b.M(i0 + r), v[3][r] = b.Fx(i0 + r), v[4][r] = b.Fy(i0 + r);
        const __m256d xi = _mm256_load_pd(v[0]), yi = _mm256_load_pd(v[1]), mi = _mm256_load_pd(v[2]);
        __m256d fxi = _mm256_load_pd(v[3]), fyi = _mm256_load_pd(v[4]);
        const __m256d vc = _mm256_set1_pd(c);
        for (int j = j0; j < j1; ++j) {
            const __m256d dx = _mm256_sub_pd(xi, _mm256_set1_pd(b.X(j)));
            const __m256d dy = _mm256_sub_pd(yi, _mm256_set1_pd(b.Y(j)));
            const __m256d r2 = _mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy));
            const __m256d r = _mm256_sqrt_pd(r2);
            const __m256d mj = _mm256_set1_pd(b.M(j));
            const __m256d f = side == kBefore ? Force(Law{}, mj, mi, vc, p, r2, r) : Force(Law{}, mi, mj, vc, p, r2, r);
            const __m256d fx = _mm256_div_pd(_mm256_mul_pd(f, dx), r);
            const __m256d fy = _mm256_div_pd(_mm256_mul_pd(f, dy), r);
            fxi = _mm256_sub_pd(fxi, fx);
            fyi = _mm256_sub_pd(fyi, fy);
            if (side == kTriangle) {
                _mm256_store_pd(v[3], fx);
                _mm256_store_pd(v[4], fy);
                for (int r = 0; r < kN; ++r) b.Fx(j) += v[3][r], b.Fy(j) += v[4][r];
            }
        }
        _mm256_store_pd(v[3], fxi);
        _mm256_store_pd(v[4], fyi);
        for (int r = 0; r < kN; ++r) b.Fx(i0 + r) = v[3][r], b.Fy(i0 + r) = v[4][r];
    }
};
#endif
