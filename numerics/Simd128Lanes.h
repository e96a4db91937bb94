// Two lanes of WebAssembly's 128-bit vectors for the fast paths.
#pragma once

#include <wasm_simd128.h>

#include <cstdint>

#include "numerics/Exact.h"

namespace qvnum {

struct Simd128Lanes {
    static constexpr bool kFused = false;
    struct V {
        v128_t v;
        V() = default;
        V(double d) : v(wasm_f64x2_splat(d)) {}
        V(v128_t x) : v(x) {}
    };
    struct I {
        v128_t v;
        I() = default;
        I(uint64_t u) : v(wasm_i64x2_splat(static_cast<int64_t>(u))) {}
        I(v128_t x) : v(x) {}
    };
    struct M {
        v128_t m;
    };

    static I Bits(V a) { return a.v; }
    static V FromBits(I a) { return a.v; }
    static I And(I a, uint64_t b) { return wasm_v128_and(a.v, I(b).v); }
    static I Or(I a, uint64_t b) { return wasm_v128_or(a.v, I(b).v); }
    template <int n>
    static I Shl(I a)
    {
        return wasm_i64x2_shl(a.v, n);
    }
    template <int n>
    static I Shr(I a)
    {
        return wasm_u64x2_shr(a.v, n);
    }
    static V Gather(const double* base, I i)
    {
        return wasm_f64x2_make(base[wasm_i64x2_extract_lane(i.v, 0)], base[wasm_i64x2_extract_lane(i.v, 1)]);
    }
    static void GatherPair(const double* base, I i, V& first, V& second)
    {
        first = Gather(base, i), second = Gather(base + 1, i);
    }
    static Pair<V> TwoProd(V a, V b) { return qvnum::TwoProd(a, b); }
    static V Sqrt(V a) { return wasm_f64x2_sqrt(a.v); }
    static V Abs(V a) { return wasm_f64x2_abs(a.v); }
    static M Both(M a, M b) { return {wasm_v128_and(a.m, b.m)}; }
    static V Select(M m, V a, V b) { return wasm_v128_bitselect(a.v, b.v, m.m); }
    static int Mask(M m) { return wasm_i64x2_bitmask(m.m); }
    static M True() { return {wasm_i64x2_splat(-1)}; }
    static V Load(const double* p) { return wasm_v128_load(p); }
    static void Store(double* p, V a) { wasm_v128_store(p, a.v); }
};

inline Simd128Lanes::V operator+(Simd128Lanes::V a, Simd128Lanes::V b) { return wasm_f64x2_add(a.v, b.v); }
inline Simd128Lanes::V operator-(Simd128Lanes::V a, Simd128Lanes::V b) { return wasm_f64x2_sub(a.v, b.v); }
inline Simd128Lanes::V operator*(Simd128Lanes::V a, Simd128Lanes::V b) { return wasm_f64x2_mul(a.v, b.v); }
inline Simd128Lanes::V operator/(Simd128Lanes::V a, Simd128Lanes::V b) { return wasm_f64x2_div(a.v, b.v); }
inline Simd128Lanes::M operator<(Simd128Lanes::V a, Simd128Lanes::V b) { return {wasm_f64x2_lt(a.v, b.v)}; }
inline Simd128Lanes::M operator<=(Simd128Lanes::V a, Simd128Lanes::V b) { return {wasm_f64x2_le(a.v, b.v)}; }
inline Simd128Lanes::M operator==(Simd128Lanes::V a, Simd128Lanes::V b) { return {wasm_f64x2_eq(a.v, b.v)}; }
inline Simd128Lanes::I operator+(Simd128Lanes::I a, Simd128Lanes::I b) { return wasm_i64x2_add(a.v, b.v); }
inline Simd128Lanes::I operator-(Simd128Lanes::I a, Simd128Lanes::I b) { return wasm_i64x2_sub(a.v, b.v); }

}  // namespace qvnum
