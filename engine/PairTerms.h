// The pair terms of the Euler step as the step's kernels see them: the force
// laws, the term of one pair exactly as the plain loop computes it, and the
// row kernels without the processor's vector units. The vector kernels
// (AvxRows.h, Avx512Rows.h) follow the same contract, so that the step in
// Euler.cpp takes any of them.
//
// A row kernel Rows offers, with kN the rows it takes at once and Inner the
// kernel for the pairs inside a block (void: one pair at a time):
//   Block<Law, bKeep>(b, i0, j0, j1, c, p, kx, ky): rows i0..i0+kN-1 against
//     every j in [j0, j1), j ascending. Each j's accumulator takes the rows'
//     terms one after the other, i ascending. Without bKeep each row's
//     accumulator takes −fx of its pairs, j ascending; with bKeep the rows'
//     accumulators are left alone and the term of (i0+r, j) is kept at
//     kx[(j-j0)*kN + r] for Take.
//   Move(s, lo, hi, dt): MoveColumns, as the kernel does it fastest.
//   Take(s, lo, i1, nJ, kx, ky): the rows lo <= i < i1 (whole blocks) take the
//     terms kept for them against nJ planets, −kx[i0*nJ + q*kN + r] for
//     i = i0 + r, q ascending.
#pragma once

#include <cmath>

#include "store/Planet.h"

// Tags of the force laws: each kernel computes F for them its own way.
struct InverseSquare {};
struct InversePower {};
struct Exponential {};

// The magnitude of the pair force, as the plain loop writes it.
inline double Force(InverseSquare, double mi, double mj, double c, double, double r2, double)
{
    return (mi * mj * c) / r2;
}
inline double Force(InversePower, double mi, double mj, double c, double n, double, double r)
{
    return (mi * mj * c) / std::pow(r, n);
}
inline double Force(Exponential, double mi, double mj, double c, double k, double, double r)
{
    return std::exp(r * k) * mi * mj * c;
}

// The planets as the kernels see them: the records themselves on one thread,
// or one array per field when several threads share a step, so that a thread
// writing its accumulators does not take cache lines from one reading positions.
struct Records {
    CPlanet* p;
    double& X(int i) const { return p[i].m_dX; }
    double& Y(int i) const { return p[i].m_dY; }
    double& M(int i) const { return p[i].m_dMass; }
    double& Fx(int i) const { return p[i].m_dFx; }
    double& Fy(int i) const { return p[i].m_dFy; }
};

struct Columns {
    double *x, *y, *m, *fx, *fy;
    double *vx, *vy, *fixed;  // fixed: 1 for a fixed planet, else 0
    double& X(int i) const { return x[i]; }
    double& Y(int i) const { return y[i]; }
    double& M(int i) const { return m[i]; }
    double& Fx(int i) const { return fx[i]; }
    double& Fy(int i) const { return fy[i]; }
};

// The term of pair (i, j), i < j, along x and y, exactly as the plain loop has it.
template <class Law>
inline void Term(double xi, double yi, double mi, double xj, double yj, double mj, double c, double p, double& fx,
                 double& fy)
{
    const double dx = xi - xj;
    const double dy = yi - yj;
    const double r2 = dx * dx + dy * dy;
    const double r = std::sqrt(r2);
    const double f = Force(Law{}, mi, mj, c, p, r2, r);
    fx = (f * dx) / r;
    fy = (f * dy) / r;
}

// The plain loop's move of the planets [lo, hi): velocity first, then
// position with the new velocity; fixed planets stay.
inline void MoveColumns(const Columns& s, int lo, int hi, double dt)
{
    for (int k = lo; k < hi; ++k) {
        if (s.fixed[k] != 0.0) continue;
        s.vx[k] = s.vx[k] + (s.fx[k] * dt) / s.m[k];
        s.vy[k] = s.vy[k] + (s.fy[k] * dt) / s.m[k];
        s.x[k] = s.x[k] + s.vx[k] * dt;
        s.y[k] = s.y[k] + s.vy[k] * dt;
    }
}

// Every pair with both planets in [lo, hi), in the plain loop's order.
template <class Law, class B>
inline void Triangle(const B& b, int lo, int hi, double c, double p)
{
    for (int i = lo; i < hi - 1; ++i)
        for (int j = i + 1; j < hi; ++j) {
            double fx, fy;
            Term<Law>(b.X(i), b.Y(i), b.M(i), b.X(j), b.Y(j), b.M(j), c, p, fx, fy);
            b.Fx(i) -= fx;
            b.Fx(j) += fx;
            b.Fy(i) -= fy;
            b.Fy(j) += fy;
        }
}

// Four rows in four scalar chains, which the compiler may pair up.
struct PortableRows {
    static constexpr int kN = 4;
    using Inner = void;

    template <class Law, bool bKeep, class B>
    static void Block(const B& b, int i0, int j0, int j1, double c, double p, double* kx, double* ky)
    {
        double xi[kN], yi[kN], mi[kN], fxi[kN], fyi[kN];
        for (int r = 0; r < kN; ++r) {
            xi[r] = b.X(i0 + r);
            yi[r] = b.Y(i0 + r);
            mi[r] = b.M(i0 + r);
            // Kept rows belong to another piece, whose thread may be writing them.
            fxi[r] = bKeep ? 0.0 : b.Fx(i0 + r);
            fyi[r] = bKeep ? 0.0 : b.Fy(i0 + r);
        }
        for (int j = j0; j < j1; ++j) {
            const double xj = b.X(j), yj = b.Y(j), mj = b.M(j);
            double fxj = b.Fx(j), fyj = b.Fy(j);
            for (int r = 0; r < kN; ++r) {
                double fx, fy;
                Term<Law>(xi[r], yi[r], mi[r], xj, yj, mj, c, p, fx, fy);
                fxj += fx;
                fyj += fy;
                if (bKeep) {
                    kx[(j - j0) * kN + r] = fx;
                    ky[(j - j0) * kN + r] = fy;
                } else {
                    fxi[r] -= fx;
                    fyi[r] -= fy;
                }
            }
            b.Fx(j) = fxj;
            b.Fy(j) = fyj;
        }
        if (bKeep) return;
        for (int r = 0; r < kN; ++r) {
            b.Fx(i0 + r) = fxi[r];
            b.Fy(i0 + r) = fyi[r];
        }
    }

    static void Move(const Columns& s, int lo, int hi, double dt) { MoveColumns(s, lo, hi, dt); }

    static void Take(const Columns& s, int lo, int i1, int nJ, const double* kx, const double* ky)
    {
        for (int i = lo; i < i1; ++i) {
            const int r = i % kN;
            const double* gx = kx + static_cast<size_t>(i - r) * nJ + r;
            const double* gy = ky + static_cast<size_t>(i - r) * nJ + r;
            double fx = s.fx[i], fy = s.fy[i];
            for (int q = 0; q < nJ; ++q) {
                fx -= gx[q * kN];
                fy -= gy[q * kN];
            }
            s.fx[i] = fx;
            s.fy[i] = fy;
        }
    }
};
