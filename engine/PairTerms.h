// The pair terms as the Euler step's kernels see them: the force laws, the
// term of one pair exactly as the plain loop computes it, and the row kernel
// without vector units; AvxRows.h and Avx512Rows.h keep the same contract.
//
// A row kernel Rows offers kN, the rows it takes at once, Inner, the kernel
// for the pairs inside a block of kN rows, and
//   Block<Law, side>(b, i0, j0, j1, c, p): rows i0..i0+kN-1 against every j
//     in [j0, j1), j ascending; each row's accumulator takes −T(row, j), the
//     term with dx = x_row − x_j and the masses in index order. kTriangle:
//     j > rows, and each j's accumulator also takes +T, rows ascending.
//     kAfter: j > rows, the rows alone. kBefore: j < rows, the rows alone.
#pragma once

#include <cmath>

#include "numerics/CorrectlyRounded.h"

#include "store/Planet.h"

// Tags of the force laws: each kernel computes F for them its own way.
struct InverseSquare {};
struct InversePower {};
struct SquaringPower {};  // the inverse power with n whole or a half, 1/2 to qvnum::kPowIntMax
struct Exponential {};

enum Side { kTriangle, kAfter, kBefore };

// The magnitude of the pair force as the plain loop writes it, ma the mass
// of the lower index: exp's products are not commutative in rounding.
inline double Force(InverseSquare, double ma, double mb, double c, double, double r2, double)
{
    return (ma * mb * c) / r2;
}
inline double Force(InversePower, double ma, double mb, double c, double n, double, double r)
{
    return (ma * mb * c) / CrPow(r, n);
}
inline double Force(SquaringPower, double ma, double mb, double c, double n, double r2, double r)
{
    return Force(InversePower{}, ma, mb, c, n, r2, r);
}
inline double Force(Exponential, double ma, double mb, double c, double k, double, double r)
{
    return CrExp(r * k) * ma * mb * c;
}

// The planets as the kernels see them: the records themselves on one thread;
// on several, positions and masses from columns, accumulators in the records.
struct Records {
    CPlanet* p;
    double& X(int i) const { return p[i].m_dX; }
    double& Y(int i) const { return p[i].m_dY; }
    double& M(int i) const { return p[i].m_dMass; }
    double& Fx(int i) const { return p[i].m_dFx; }
    double& Fy(int i) const { return p[i].m_dFy; }
};

struct Columns {
    const double *x, *y, *m;
    CPlanet* p;
    const double& X(int i) const { return x[i]; }
    const double& Y(int i) const { return y[i]; }
    const double& M(int i) const { return m[i]; }
    double& Fx(int i) const { return p[i].m_dFx; }
    double& Fy(int i) const { return p[i].m_dFy; }
};

// T(i, j) along x and y, dx = xi − xj, as the plain loop has it for i < j;
// for i > j, −T(i, j) is its term of (j, i) bit for bit (negation is exact).
template <class Law>
inline void Term(double xi, double yi, double xj, double yj, double ma, double mb, double c, double p, double& fx,
                 double& fy)
{
    const double dx = xi - xj, dy = yi - yj;
    const double r2 = dx * dx + dy * dy, r = std::sqrt(r2);
    const double f = Force(Law{}, ma, mb, c, p, r2, r);
    fx = (f * dx) / r;
    fy = (f * dy) / r;
}

// The plain loop's move: velocity first, then position with the new velocity.
inline void Move(CPlanet& q, double dt)
{
    if (q.m_bFixed != 0) return;
    q.m_dVx = q.m_dVx + (q.m_dFx * dt) / q.m_dMass;
    q.m_dVy = q.m_dVy + (q.m_dFy * dt) / q.m_dMass;
    q.m_dX = q.m_dX + q.m_dVx * dt;
    q.m_dY = q.m_dY + q.m_dVy * dt;
}

// kN rows in kN scalar chains, which the compiler may pair up.
template <int N>
struct PortableRows {
    static constexpr int kN = N;
    using Inner = PortableRows<1>;

    template <class Law, Side side, class B>
    static void Block(const B& b, int i0, int j0, int j1, double c, double p)
    {
        double xi[kN], yi[kN], mi[kN], fxi[kN], fyi[kN];
        for (int r = 0; r < kN; ++r)
            xi[r] = b.X(i0 + r), yi[r] = b.Y(i0 + r), mi[r] = b.M(i0 + r), fxi[r] = b.Fx(i0 + r), fyi[r] = b.Fy(i0 + r);
        for (int j = j0; j < j1; ++j) {
            const double xj = b.X(j), yj = b.Y(j), mj = b.M(j);
            double fxj = side == kTriangle ? b.Fx(j) : 0.0, fyj = side == kTriangle ? b.Fy(j) : 0.0;
            for (int r = 0; r < kN; ++r) {
                double fx, fy;
                Term<Law>(xi[r], yi[r], xj, yj, side == kBefore ? mj : mi[r], side == kBefore ? mi[r] : mj, c, p, fx, fy);
                fxi[r] -= fx;
                fyi[r] -= fy;
                fxj += fx;
                fyj += fy;
            }
            if (side == kTriangle) b.Fx(j) = fxj, b.Fy(j) = fyj;
        }
        for (int r = 0; r < kN; ++r) b.Fx(i0 + r) = fxi[r], b.Fy(i0 + r) = fyi[r];
    }
};
