// The row kernel over a lane type L of numerics/ with N lanes: N rows in one
// register, each lane doing the plain loop's operations for its row (IEEE +,
// −, ×, ÷ and √ are correctly rounded whether done one at a time or N at a
// time; pow and exp are the vector forms' inline, each lane the scalar
// function's bits). Included only by the sources built for L's instruction
// set (RowsAvx.cpp, RowsAvx512.cpp) and by Simd128Rows.h.
#pragma once

#include "engine/PairTerms.h"
#include "numerics/LaneDriver.h"

template <class L, int N>
struct LaneForces {
    using V = typename L::V;

    // F for masses ma, mb in index order.
    static V Force(InverseSquare, V ma, V mb, V c, double, V r2, V) { return ma * mb * c / r2; }
    static V Force(InversePower, V ma, V mb, V c, double n, V, V r)
    {
        return ma * mb * c / qvnum::PowOf<L, N>(r, n);
    }
    static V Force(SquaringPower, V ma, V mb, V c, double n, V, V r)
    {
        return ma * mb * c / qvnum::PowSquaringOf<L, N>(r, n);
    }
    static V Force(Exponential, V ma, V mb, V c, double k, V, V r)
    {
        return qvnum::ExpOf<L, N>(r * V(k)) * ma * mb * c;
    }
};

template <class L, int N>
struct LaneRows : LaneForces<L, N> {
    using V = typename L::V;
    using LaneForces<L, N>::Force;

    // Rows::Block's work (PairTerms.h); divideX(n, d) is n/d rounded to nearest.
    // Flattened: pow and exp inline, on registers, between the pair's divisions.
    template <class Law, Side side, class B, class DivideX>
    [[gnu::flatten]] static void Block(const B& b, int i0, int j0, int j1, double c, double p, DivideX divideX)
    {
        alignas(64) double v[5][N];
        for (int r = 0; r < N; ++r)
            v[0][r] = b.X(i0 + r), v[1][r] = b.Y(i0 + r), v[2][r] = b.M(i0 + r), v[3][r] = b.Fx(i0 + r), v[4][r] = b.Fy(i0 + r);
        const V xi = L::Load(v[0]), yi = L::Load(v[1]), mi = L::Load(v[2]), vc = V(c);
        V fxi = L::Load(v[3]), fyi = L::Load(v[4]);
        // F of pair j + 1 comes before the divisions of pair j in the program,
        // so that the processor overlaps its long chain (pow, exp) with them.
        const auto force = [&](int j, V& dx, V& dy, V& r) {
            dx = xi - V(b.X(j)), dy = yi - V(b.Y(j));
            const V r2 = dx * dx + dy * dy;
            r = L::Sqrt(r2);
            const V mj = V(b.M(j));
            return side == kBefore ? Force(Law{}, mj, mi, vc, p, r2, r) : Force(Law{}, mi, mj, vc, p, r2, r);
        };
        V dx, dy, r, f;
        if (j0 < j1) f = force(j0, dx, dy, r);
        for (int j = j0; j < j1; ++j) {
            V ndx, ndy, nr;
            const V nf = force(j + 1 < j1 ? j + 1 : j, ndx, ndy, nr);
            const V fx = divideX(f * dx, r), fy = f * dy / r;
            fxi = fxi - fx;
            fyi = fyi - fy;
            if (side == kTriangle) {
                L::Store(v[3], fx);
                L::Store(v[4], fy);
                for (int r = 0; r < N; ++r) b.Fx(j) += v[3][r], b.Fy(j) += v[4][r];
            }
            dx = ndx, dy = ndy, r = nr, f = nf;
        }
        L::Store(v[3], fxi);
        L::Store(v[4], fyi);
        for (int r = 0; r < N; ++r) b.Fx(i0 + r) = v[3][r], b.Fy(i0 + r) = v[4][r];
    }

    // The pairs among the N rows from i0 as the plain loop adds them: the terms
    // of each row j against all N rows in lanes (those of rows j and after
    // unused), then row by row, j ascending.
    template <class Law, class B, class DivideX>
    [[gnu::flatten]] static void Inside(const B& b, int i0, double c, double p, DivideX divideX)
    {
        alignas(64) double v[3][N], tx[N][N], ty[N][N];
        for (int r = 0; r < N; ++r) v[0][r] = b.X(i0 + r), v[1][r] = b.Y(i0 + r), v[2][r] = b.M(i0 + r);
        const V xi = L::Load(v[0]), yi = L::Load(v[1]), mi = L::Load(v[2]), vc = V(c);
        for (int j = 1; j < N; ++j) {
            const V dx = xi - V(v[0][j]), dy = yi - V(v[1][j]);
            const V r2 = dx * dx + dy * dy, r = L::Sqrt(r2);
            const V f = Force(Law{}, mi, V(v[2][j]), vc, p, r2, r);
            L::Store(tx[j], divideX(f * dx, r));
            L::Store(ty[j], f * dy / r);
        }
        for (int r = 0; r < N; ++r) {
            double fx = b.Fx(i0 + r), fy = b.Fy(i0 + r);
            for (int j = r + 1; j < N; ++j) {
                fx -= tx[j][r], fy -= ty[j][r];
                b.Fx(i0 + j) += tx[j][r], b.Fy(i0 + j) += ty[j][r];
            }
            b.Fx(i0 + r) = fx, b.Fy(i0 + r) = fy;
        }
    }
};

// The explicit instantiations of Rows::Block for every law, side and planet view.
#define QV_ROWS_BLOCKS_OF(Rows, Law, B)                                                   \
    template void Rows::Block<Law, kTriangle, B>(const B&, int, int, int, double, double); \
    template void Rows::Block<Law, kAfter, B>(const B&, int, int, int, double, double);    \
    template void Rows::Block<Law, kBefore, B>(const B&, int, int, int, double, double);
#define QV_ROWS_INSIDE(Rows)                                                                \
    template void Rows::Inside<InverseSquare, Records>(const Records&, int, double, double); \
    template void Rows::Inside<InverseSquare, Columns>(const Columns&, int, double, double); \
    template void Rows::Inside<InversePower, Records>(const Records&, int, double, double);  \
    template void Rows::Inside<InversePower, Columns>(const Columns&, int, double, double);  \
    template void Rows::Inside<SquaringPower, Records>(const Records&, int, double, double); \
    template void Rows::Inside<SquaringPower, Columns>(const Columns&, int, double, double); \
    template void Rows::Inside<Exponential, Records>(const Records&, int, double, double);   \
    template void Rows::Inside<Exponential, Columns>(const Columns&, int, double, double);
#define QV_ROWS_BLOCKS(Rows)                                                                         \
    QV_ROWS_BLOCKS_OF(Rows, InverseSquare, Records) QV_ROWS_BLOCKS_OF(Rows, InverseSquare, Columns) \
    QV_ROWS_BLOCKS_OF(Rows, InversePower, Records) QV_ROWS_BLOCKS_OF(Rows, InversePower, Columns)   \
    QV_ROWS_BLOCKS_OF(Rows, SquaringPower, Records) QV_ROWS_BLOCKS_OF(Rows, SquaringPower, Columns) \
    QV_ROWS_BLOCKS_OF(Rows, Exponential, Records) QV_ROWS_BLOCKS_OF(Rows, Exponential, Columns)
