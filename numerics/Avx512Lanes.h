// Eight lanes of AVX-512F for the fast paths; included only by sources built
// with -mavx512f -mfma (VectorAvx512.cpp, engine/RowsAvx512.cpp), which never
// contract a multiply and an add by themselves: fused operations appear only
// where a fast path asks for them (Fma, TwoProd), with its error bound
// written for them (FastExpFused.h, FastLogFused.h). The maskz_/mask_ forms
// with every lane on stand for the plain intrinsics, which pass an undefined
// register that GCC 12 warns about.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "numerics/Exact.h"
#include "numerics/Tables.h"

namespace qvnum {

struct Avx512Lanes {
    static constexpr bool kFused = true;
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
    // base[i] of each lane, and base[i + 1]: the processor's gathers (on AMD's
    // as fast as loads put together, on Intel's faster).
    static V Gather(const double* base, I i) { return _mm512_mask_i64gather_pd(_mm512_setzero_pd(), 0xFF, i.v, base, 8); }
    static void GatherPair(const double* base, I i, V& first, V& second)
    {
        first = Gather(base, i);
        second = Gather(base + 1, i);
    }
    // a·b = p + e with e = a·b − p rounded once: exact, and so Dekker's e, as
    // long as e is a double. Every call in the fast paths keeps it one (their
    // comments say why); PowLanes leaves them the y that would not.
    static Pair<V> TwoProd(V a, V b)
    {
        const __m512d p = _mm512_mul_pd(a.v, b.v);
        return {p, _mm512_fmsub_pd(a.v, b.v, p)};
    }
    static V Fma(V a, V b, V c) { return _mm512_fmadd_pd(a.v, b.v, c.v); }
    // 2^(j/128) as Th + Tm for the last 7 bits j of k: 2^(j/8)·2^(j%16/128) from tables in registers.
    static void Exp2Table(I k, V& Th, V& Tm)
    {
        const __m512i a = _mm512_maskz_srli_epi64(0xFF, k.v, 4);  // the permutes read the index's last 3 and 4 bits
        const __m512d ah = _mm512_maskz_permutexvar_pd(0xFF, a, _mm512_load_pd(kExp2Coarse[0]));
        const __m512d al = _mm512_maskz_permutexvar_pd(0xFF, a, _mm512_load_pd(kExp2Coarse[1]));
        const __m512d bh = _mm512_permutex2var_pd(_mm512_load_pd(kExp2Fine[0]), k.v, _mm512_load_pd(kExp2Fine[0] + 8));
        const __m512d bl = _mm512_permutex2var_pd(_mm512_load_pd(kExp2Fine[1]), k.v, _mm512_load_pd(kExp2Fine[1] + 8));
        const __m512d p = _mm512_mul_pd(ah, bh);
        Th = p;
        Tm = _mm512_fmadd_pd(al, bh, _mm512_fmadd_pd(ah, bl, _mm512_fmsub_pd(ah, bh, p)));
    }
    static V ScaleB(V a, V n) { return _mm512_maskz_scalef_pd(0xFF, a.v, n.v); }  // a·2^floor(n)
    static V Sqrt(V a) { return _mm512_maskz_sqrt_pd(0xFF, a.v); }
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
inline Avx512Lanes::V operator/(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_div_pd(a.v, b.v); }
inline Avx512Lanes::M operator<(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_LT_OQ); }
inline Avx512Lanes::M operator<=(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_LE_OQ); }
inline Avx512Lanes::M operator==(Avx512Lanes::V a, Avx512Lanes::V b) { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_EQ_OQ); }
inline Avx512Lanes::I operator+(Avx512Lanes::I a, Avx512Lanes::I b) { return _mm512_add_epi64(a.v, b.v); }
inline Avx512Lanes::I operator-(Avx512Lanes::I a, Avx512Lanes::I b) { return _mm512_sub_epi64(a.v, b.v); }

}  // namespace qvnum
