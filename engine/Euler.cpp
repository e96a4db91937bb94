#include "engine/Euler.h"

#include <cmath>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QV_EULER_AVX 1
#include <immintrin.h>
// AVX only, not FMA: no multiply may be fused with an add.
#define QV_AVX_FN __attribute__((target("avx")))
#endif

// Speed without changing a bit. Every pair still does the same operations
// (IEEE +, −, ×, ÷ and √ are correctly rounded whether done one at a time or
// four at a time), and every force accumulator still receives its terms in
// the order of the plain loop: first +fx from the pairs (k, i), k ascending,
// then −fx from the pairs (i, j), j ascending. The pair loop is cut into
// blocks of kRows rows: the pairs inside the block first, in row order, then
// every later planet j against the block's rows, which hold their
// accumulators in registers while j's accumulator takes the rows' terms one
// after the other. That keeps kRows independent dependency chains going
// instead of one, and lets the vector unit take the block's rows together.

namespace {

constexpr int kRows = 4;

// The force magnitude of one pair, one struct per law so that the law is
// chosen once per call and not once per pair.
struct InverseSquare {
    static double Force(double mi, double mj, double c, double, double r2, double)
    {
        return (mi * mj * c) / r2;
    }
#ifdef QV_EULER_AVX
    QV_AVX_FN static __m256d Force(__m256d mi, __m256d mj, __m256d c, double, __m256d r2, __m256d)
    {
        return _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(mi, mj), c), r2);
    }
#endif
};

struct InversePower {
    static double Force(double mi, double mj, double c, double n, double, double r)
    {
        return (mi * mj * c) / std::pow(r, n);
    }
#ifdef QV_EULER_AVX
    // pow itself stays the C library's, lane by lane.
    QV_AVX_FN static __m256d Force(__m256d mi, __m256d mj, __m256d c, double n, __m256d, __m256d r)
    {
        alignas(32) double d[4];
        _mm256_store_pd(d, r);
        for (double& v : d) v = std::pow(v, n);
        return _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(mi, mj), c), _mm256_load_pd(d));
    }
#endif
};

struct Exponential {
    static double Force(double mi, double mj, double c, double k, double, double r)
    {
        return std::exp(r * k) * mi * mj * c;
    }
#ifdef QV_EULER_AVX
    QV_AVX_FN static __m256d Force(__m256d mi, __m256d mj, __m256d c, double k, __m256d, __m256d r)
    {
        alignas(32) double e[4];
        _mm256_store_pd(e, _mm256_mul_pd(r, _mm256_set1_pd(k)));
        for (double& v : e) v = std::exp(v);
        return _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_load_pd(e), mi), mj), c);
    }
#endif
};

template <class Law>
inline void Pair(CPlanet& a, CPlanet& b, double c, double p)
{
    const double dx = a.m_dX - b.m_dX;
    const double dy = a.m_dY - b.m_dY;
    const double r2 = dx * dx + dy * dy;
    const double r = std::sqrt(r2);
    const double f = Law::Force(a.m_dMass, b.m_dMass, c, p, r2, r);
    const double fx = (f * dx) / r;
    const double fy = (f * dy) / r;
    a.m_dFx -= fx;
    b.m_dFx += fx;
    a.m_dFy -= fy;
    b.m_dFy += fy;
}

// Every pair with both planets in [lo, hi), in the plain loop's order.
template <class Law>
inline void Triangle(CPlanet* P, int lo, int hi, double c, double p)
{
    for (int i = lo; i < hi - 1; ++i)
        for (int j = i + 1; j < hi; ++j) Pair<Law>(P[i], P[j], c, p);
}

// Rows i0..i0+kRows-1 against every planet j >= i0+kRows.
struct PortableRows {
    template <class Law>
    static void Run(CPlanet* P, int i0, int n, double c, double p)
    {
        double xi[kRows], yi[kRows], mi[kRows], fxi[kRows], fyi[kRows];
        for (int r = 0; r < kRows; ++r) {
            const CPlanet& a = P[i0 + r];
            xi[r] = a.m_dX;
            yi[r] = a.m_dY;
            mi[r] = a.m_dMass;
            fxi[r] = a.m_dFx;
            fyi[r] = a.m_dFy;
        }
        for (int j = i0 + kRows; j < n; ++j) {
            CPlanet& b = P[j];
            const double xj = b.m_dX, yj = b.m_dY, mj = b.m_dMass;
            double fxj = b.m_dFx, fyj = b.m_dFy;
            for (int r = 0; r < kRows; ++r) {
                const double dx = xi[r] - xj;
                const double dy = yi[r] - yj;
                const double r2 = dx * dx + dy * dy;
                const double d = std::sqrt(r2);
                const double f = Law::Force(mi[r], mj, c, p, r2, d);
                const double fx = (f * dx) / d;
                const double fy = (f * dy) / d;
                fxi[r] -= fx;
                fxj += fx;
                fyi[r] -= fy;
                fyj += fy;
            }
            b.m_dFx = fxj;
            b.m_dFy = fyj;
        }
        for (int r = 0; r < kRows; ++r) {
            P[i0 + r].m_dFx = fxi[r];
            P[i0 + r].m_dFy = fyi[r];
        }
    }
};

#ifdef QV_EULER_AVX
// The same with the block's four rows in the four lanes of one register.
struct AvxRows {
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

    template <class Law>
    QV_AVX_FN static void Run(CPlanet* P, int i0, int n, double c, double p)
    {
        const CPlanet* a = P + i0;
        const __m256d xi = _mm256_setr_pd(a[0].m_dX, a[1].m_dX, a[2].m_dX, a[3].m_dX);
        const __m256d yi = _mm256_setr_pd(a[0].m_dY, a[1].m_dY, a[2].m_dY, a[3].m_dY);
        const __m256d mi = _mm256_setr_pd(a[0].m_dMass, a[1].m_dMass, a[2].m_dMass, a[3].m_dMass);
        __m256d fxi = _mm256_setr_pd(a[0].m_dFx, a[1].m_dFx, a[2].m_dFx, a[3].m_dFx);
        __m256d fyi = _mm256_setr_pd(a[0].m_dFy, a[1].m_dFy, a[2].m_dFy, a[3].m_dFy);
        const __m256d vc = _mm256_set1_pd(c);
        for (int j = i0 + kRows; j < n; ++j) {
            CPlanet& b = P[j];
            const __m256d dx = _mm256_sub_pd(xi, _mm256_broadcast_sd(&b.m_dX));
            const __m256d dy = _mm256_sub_pd(yi, _mm256_broadcast_sd(&b.m_dY));
            const __m256d r2 = _mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy));
            const __m256d r = _mm256_sqrt_pd(r2);
            const __m256d f = Law::Force(mi, _mm256_broadcast_sd(&b.m_dMass), vc, p, r2, r);
            const __m256d fx = _mm256_div_pd(_mm256_mul_pd(f, dx), r);
            const __m256d fy = _mm256_div_pd(_mm256_mul_pd(f, dy), r);
            fxi = _mm256_sub_pd(fxi, fx);
            fyi = _mm256_sub_pd(fyi, fy);
            b.m_dFx = AddLanes(b.m_dFx, fx);
            b.m_dFy = AddLanes(b.m_dFy, fy);
        }
        alignas(32) double ox[4], oy[4];
        _mm256_store_pd(ox, fxi);
        _mm256_store_pd(oy, fyi);
        for (int r = 0; r < kRows; ++r) {
            P[i0 + r].m_dFx = ox[r];
            P[i0 + r].m_dFy = oy[r];
        }
    }
};
#endif

template <class Law, class Rows>
void RunSteps(CPlanet* P, int n, double c, double p, double dt, int nSteps)
{
    for (int s = 0; s < nSteps; ++s) {
        for (int i = 0; i < n; ++i) {
            P[i].m_dFx = 0.0;
            P[i].m_dFy = 0.0;
        }
        int i0 = 0;
        for (; i0 + kRows < n; i0 += kRows) {
            Triangle<Law>(P, i0, i0 + kRows, c, p);
            Rows::template Run<Law>(P, i0, n, c, p);
        }
        Triangle<Law>(P, i0, n, c, p);
        for (int i = 0; i < n; ++i) {
            CPlanet& q = P[i];
            if (q.m_bFixed != 0) continue;
            q.m_dVx = q.m_dVx + (q.m_dFx * dt) / q.m_dMass;
            q.m_dVy = q.m_dVy + (q.m_dFy * dt) / q.m_dMass;
            q.m_dX = q.m_dX + q.m_dVx * dt;
            q.m_dY = q.m_dY + q.m_dVy * dt;
        }
    }
}

template <class Rows>
void RunLaw(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps)
{
    if (P == nullptr || n <= 0 || nSteps <= 0) return;
    switch (law.nType) {
    case 1:
        RunSteps<InversePower, Rows>(P, n, law.dConst, law.dParam, dt, nSteps);
        break;
    case 2:
        RunSteps<Exponential, Rows>(P, n, law.dConst, law.dParam, dt, nSteps);
        break;
    default:
        RunSteps<InverseSquare, Rows>(P, n, law.dConst, law.dParam, dt, nSteps);
        break;
    }
}

}  // namespace

void EulerStepsPortable(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps)
{
    RunLaw<PortableRows>(pPlanets, nPlanets, law, dt, nSteps);
}

void EulerSteps(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps)
{
#ifdef QV_EULER_AVX
    static const bool s_bAvx = __builtin_cpu_supports("avx");
    if (s_bAvx) {
        RunLaw<AvxRows>(pPlanets, nPlanets, law, dt, nSteps);
        return;
    }
#endif
    RunLaw<PortableRows>(pPlanets, nPlanets, law, dt, nSteps);
}
