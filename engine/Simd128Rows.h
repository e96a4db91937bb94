// The row kernel on WebAssembly's 128-bit vectors: four rows in two pairs of
// lanes, each lane doing the plain loop's operations for its row (IEEE +, −,
// ×, ÷ and √ are correctly rounded whether done one at a time or two at a time).
#pragma once

#include "engine/PairTerms.h"

#if defined(__wasm_simd128__)
#define QV_EULER_SIMD128 1
#include <wasm_simd128.h>

#include "engine/LaneRows.h"
#include "numerics/Simd128Lanes.h"

struct Simd128Rows {
    static constexpr int kN = 4;
    using Inner = PortableRows<1>;
    using V = v128_t;
    using Lanes = LaneForces<qvnum::Simd128Lanes, 2>;  // F, pow and exp in two lanes

    template <class Law, Side side, class B>
    static void Block(const B& b, int i0, int j0, int j1, double c, double p)
    {
        V xi[2], yi[2], mi[2], fxi[2], fyi[2];
        for (int h = 0; h < 2; ++h) {
            const int i = i0 + 2 * h;
            xi[h] = wasm_f64x2_make(b.X(i), b.X(i + 1)), yi[h] = wasm_f64x2_make(b.Y(i), b.Y(i + 1));
            mi[h] = wasm_f64x2_make(b.M(i), b.M(i + 1));
            fxi[h] = wasm_f64x2_make(b.Fx(i), b.Fx(i + 1)), fyi[h] = wasm_f64x2_make(b.Fy(i), b.Fy(i + 1));
        }
        const V vc = wasm_f64x2_splat(c);
        for (int j = j0; j < j1; ++j) {
            const V xj = wasm_f64x2_splat(b.X(j)), yj = wasm_f64x2_splat(b.Y(j)), mj = wasm_f64x2_splat(b.M(j));
            V fx[2], fy[2];
            for (int h = 0; h < 2; ++h) {
                const V dx = wasm_f64x2_sub(xi[h], xj), dy = wasm_f64x2_sub(yi[h], yj);
                const V r2 = wasm_f64x2_add(wasm_f64x2_mul(dx, dx), wasm_f64x2_mul(dy, dy));
                const V r = wasm_f64x2_sqrt(r2);
                const V f = (side == kBefore ? Lanes::Force(Law{}, mj, mi[h], vc, p, r2, r)
                                             : Lanes::Force(Law{}, mi[h], mj, vc, p, r2, r)).v;
                fx[h] = wasm_f64x2_div(wasm_f64x2_mul(f, dx), r);
                fy[h] = wasm_f64x2_div(wasm_f64x2_mul(f, dy), r);
                fxi[h] = wasm_f64x2_sub(fxi[h], fx[h]);
                fyi[h] = wasm_f64x2_sub(fyi[h], fy[h]);
            }
            if (side == kTriangle) {
                // j's accumulator takes the rows' terms one at a time, rows ascending.
                double fxj = b.Fx(j), fyj = b.Fy(j);
                for (int h = 0; h < 2; ++h) {
                    fxj += wasm_f64x2_extract_lane(fx[h], 0), fyj += wasm_f64x2_extract_lane(fy[h], 0);
                    fxj += wasm_f64x2_extract_lane(fx[h], 1), fyj += wasm_f64x2_extract_lane(fy[h], 1);
                }
                b.Fx(j) = fxj, b.Fy(j) = fyj;
            }
        }
        for (int h = 0; h < 2; ++h) {
            const int i = i0 + 2 * h;
            b.Fx(i) = wasm_f64x2_extract_lane(fxi[h], 0), b.Fx(i + 1) = wasm_f64x2_extract_lane(fxi[h], 1);
            b.Fy(i) = wasm_f64x2_extract_lane(fyi[h], 0), b.Fy(i + 1) = wasm_f64x2_extract_lane(fyi[h], 1);
        }
    }
};
#endif
