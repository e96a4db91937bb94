// Eight lanes of AVX-512F for the fast paths; included only by the source
// built with -mavx512f (VectorAvx512.cpp), which never contracts a multiply
// and an add. The maskz_/mask_ forms with every lane on stand for the plain
// intrinsics, which pass an undefined register that GCC 12 warns about.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace qvnum {

struct Avx512Lanes {
    struct V {
        __m512d v;
        V() = default;
        V(double d) : v(_mm512_set1_pd(d)) {}
        V(__m512d x) : v(x) {}
    };
    struct I {
        __m512i v;
        I() = default;
        I(uint64_t u) : v(_mm512_set1_epi64(static_cast<long long>(u))) {}
        I(__m512i x) : v(x) {}
    };
    using M = __mmask8;

    static I Bits(V a) { return _mm512_castpd_si512(a.v); }
    static V FromBits(I a) { return _mm512_castsi512_pd(a.v); }
    static I And(I a, uint64_t b) { return _mm512_and_si512(a.v, _mm512_set1_epi64(static_cast<long long>(b))); }
    static I Or(I a, uint64_t b) { return _mm512_or_si512(a.v, _mm512_set1_epi64(static_cast<long long>(b))); }
    template <int n>
    static I Shl(I a)
    {
        return _mm512_maskz_slli_epi64(0xFF, a.v, n);
    }
    template <int n>
    static I Shr(I a)
    {
        return _mm512_maskz_srli_epi64(0xFF, a.v, n);
    }
    static V Gather(const double* base, I i) { return _mm512_mask_i64gather_pd(_mm512_setzero_pd(), 0xFF, i.v, base, 8); }
    static V Abs(V a) { return FromBits(And(Bits(a), 0x7FFFFFFFFFFFFFFFULL)); }
    static M Both(M a, M b) { return static_cast<M>(a & b); }
    static V Select(M m, V a, V b) { return _mm512_mask_blend_pd(m, b.v, a.v); }
    static int Mask(M m) { return m; }
    static M True() { return 0xFF; }
    static V Load(const double* p) { return _mm512_loadu_pd(p); }
    static void Store(double* p, V a) { _mm512_storeu_pd(p, a.v); }
};

inline Avx512Lanes::V operator+(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_add_pd(a.v, b.v); }
inline Avx512Lanes::V operator-(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_sub_pd(a.v, b.v); }
inline Avx512Lanes::V operator*(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_mul_pd(a.v, b.v); }
inline Avx512Lanes::M operator<(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_LT_OQ); }
inline Avx512Lanes::M operator<=(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_LE_OQ); }
inline Avx512Lanes::M operator==(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_EQ_OQ); }
inline Avx512Lanes::I operator+(Avx512Lanes::I a, Avx512Lanes::I b) { return _mm512_add_epi64(a.v, b.v); }
inline Avx512Lanes::I operator-(Avx512Lanes::I a, Avx512Lanes::I b) { return _mm512_sub_epi64(a.v, b.v); }

}  // namespace qvnum
