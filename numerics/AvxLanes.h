// Four lanes of AVX (no AVX2: integers in two SSE halves) for the fast paths;
// included only by sources built with -mavx (VectorAvx.cpp, engine/RowsAvx.cpp).
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "numerics/Exact.h"

namespace qvnum {

struct AvxLanes {
    static constexpr bool kFused = false;
    struct V {
        __m256d v;
        V() = default;
        V(double d) : v(_mm256_set1_pd(d)) {}
        V(__m256d x) : v(x) {}
    };
    struct I {
        __m128i lo, hi;
        I() = default;
        I(uint64_t u) : lo(_mm_set1_epi64x(static_cast<long long>(u))), hi(lo) {}
        I(__m128i a, __m128i b) : lo(a), hi(b) {}
    };
    struct M {
        __m256d m;
    };

    static I Bits(V a)
    {
        const __m256i b = _mm256_castpd_si256(a.v);
        return {_mm256_castsi256_si128(b), _mm256_extractf128_si256(b, 1)};
    }
    static V FromBits(I a) { return _mm256_castsi256_pd(_mm256_set_m128i(a.hi, a.lo)); }
    static I And(I a, uint64_t b)
    {
        const __m128i c = _mm_set1_epi64x(static_cast<long long>(b));
        return {_mm_and_si128(a.lo, c), _mm_and_si128(a.hi, c)};
    }
    static I Or(I a, uint64_t b)
    {
        const __m128i c = _mm_set1_epi64x(static_cast<long long>(b));
        return {_mm_or_si128(a.lo, c), _mm_or_si128(a.hi, c)};
    }
    template <int n>
    static I Shl(I a)
    {
        return {_mm_slli_epi64(a.lo, n), _mm_slli_epi64(a.hi, n)};
    }
    template <int n>
    static I Shr(I a)
    {
        return {_mm_srli_epi64(a.lo, n), _mm_srli_epi64(a.hi, n)};
    }
    static V Gather(const double* base, I i)
    {
        return _mm256_set_pd(base[_mm_extract_epi64(i.hi, 1)], base[_mm_cvtsi128_si64(i.hi)],
                             base[_mm_extract_epi64(i.lo, 1)], base[_mm_cvtsi128_si64(i.lo)]);
    }
    static void GatherPair(const double* base, I i, V& first, V& second)
    {
        first = Gather(base, i), second = Gather(base + 1, i);
    }
    static Pair<V> TwoProd(V a, V b) { return qvnum::TwoProd(a, b); }
    static V Sqrt(V a) { return _mm256_sqrt_pd(a.v); }
    static V Abs(V a) { return _mm256_and_pd(a.v, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFFLL))); }
    static M Both(M a, M b) { return {_mm256_and_pd(a.m, b.m)}; }
    static V Select(M m, V a, V b) { return _mm256_blendv_pd(b.v, a.v, m.m); }
    static int Mask(M m) { return _mm256_movemask_pd(m.m); }
    static M True() { return {_mm256_castsi256_pd(_mm256_set1_epi64x(-1))}; }
    static V Load(const double* p) { return _mm256_loadu_pd(p); }
    static void Store(double* p, V a) { _mm256_storeu_pd(p, a.v); }
};

inline AvxLanes::V operator+(AvxLanes::V a, AvxLanes::V b) { return _mm256_add_pd(a.v, b.v); }
inline AvxLanes::V operator-(AvxLanes::V a, AvxLanes::V b) { return _mm256_sub_pd(a.v, b.v); }
inline AvxLanes::V operator*(AvxLanes::V a, AvxLanes::V b) { return _mm256_mul_pd(a.v, b.v); }
inline AvxLanes::V operator/(AvxLanes::V a, AvxLanes::V b) { return _mm256_div_pd(a.v, b.v); }
inline AvxLanes::M operator<(AvxLanes::V a, AvxLanes::V b) { return {_mm256_cmp_pd(a.v, b.v, _CMP_LT_OQ)}; }
inline AvxLanes::M operator<=(AvxLanes::V a, AvxLanes::V b) { return {_mm256_cmp_pd(a.v, b.v, _CMP_LE_OQ)}; }
inline AvxLanes::M operator==(AvxLanes::V a, AvxLanes::V b) { return {_mm256_cmp_pd(a.v, b.v, _CMP_EQ_OQ)}; }
inline AvxLanes::I operator+(AvxLanes::I a, AvxLanes::I b)
{
    return {_mm_add_epi64(a.lo, b.lo), _mm_add_epi64(a.hi, b.hi)};
}
inline AvxLanes::I operator-(AvxLanes::I a, AvxLanes::I b)
{
    return {_mm_sub_epi64(a.lo, b.lo), _mm_sub_epi64(a.hi, b.hi)};
}

}  // namespace qvnum
