#include "engine/Euler.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/StepPool.h"

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
// Pieces of a shared step per thread. More would let the others take over
// the share of a thread the system keeps waiting, but every pair across two
// pieces costs a kept term, and those cost more than the waiting saves.
constexpr int kPiecesPerThread = 1;
// The cost of moving one planet, in accumulator terms taken.
constexpr int kMoveCost = 8;

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
    const double f = Law::Force(mi, mj, c, p, r2, r);
    fx = (f * dx) / r;
    fy = (f * dy) / r;
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

// Rows i0..i0+kRows-1 against every planet j >= i0+kRows; and the cross terms
// of a thread: planets k0..k0+L-1 (each lane one k) against every i < i1,
// each term added to k's accumulator and kept in gx/gy (row k-k0 of stride i1)
// for the thread that owns i.
struct PortableRows {
    template <class Law, class B>
    static void Run(const B& b, int i0, int n, double c, double p)
    {
        double xi[kRows], yi[kRows], mi[kRows], fxi[kRows], fyi[kRows];
        for (int r = 0; r < kRows; ++r) {
            xi[r] = b.X(i0 + r);
            yi[r] = b.Y(i0 + r);
            mi[r] = b.M(i0 + r);
            fxi[r] = b.Fx(i0 + r);
            fyi[r] = b.Fy(i0 + r);
        }
        for (int j = i0 + kRows; j < n; ++j) {
            const double xj = b.X(j), yj = b.Y(j), mj = b.M(j);
            double fxj = b.Fx(j), fyj = b.Fy(j);
            for (int r = 0; r < kRows; ++r) {
                double fx, fy;
                Term<Law>(xi[r], yi[r], mi[r], xj, yj, mj, c, p, fx, fy);
                fxi[r] -= fx;
                fxj += fx;
                fyi[r] -= fy;
                fyj += fy;
            }
            b.Fx(j) = fxj;
            b.Fy(j) = fyj;
        }
        for (int r = 0; r < kRows; ++r) {
            b.Fx(i0 + r) = fxi[r];
            b.Fy(i0 + r) = fyi[r];
        }
    }

    template <class Law, int L = kRows>
    static void Cross(const Columns& s, int k0, int i1, double c, double p, double* gx, double* gy)
    {
        double fxk[L] = {}, fyk[L] = {};
        for (int i = 0; i < i1; ++i)
            for (int l = 0; l < L; ++l) {
                const int k = k0 + l;
                double fx, fy;
                Term<Law>(s.x[i], s.y[i], s.m[i], s.x[k], s.y[k], s.m[k], c, p, fx, fy);
                fxk[l] += fx;
                fyk[l] += fy;
                gx[l * i1 + i] = fx;
                gy[l * i1 + i] = fy;
            }
        for (int l = 0; l < L; ++l) {
            s.fx[k0 + l] = fxk[l];
            s.fy[k0 + l] = fyk[l];
        }
    }

    // acc[k] -= row_j[k] for every row j in turn, k in [a, b).
    static void Take(double* acc, int a, int b, double* const* rows, int nRows)
    {
        for (int r = 0; r < nRows; ++r)
            for (int k = a; k < b; ++k) acc[k] -= rows[r][k];
    }
};

#ifdef QV_EULER_AVX
// The same with four rows (or four k) in the four lanes of one register.
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

    // Plain calls, not pointers to members: those stay out-of-line calls into
    // code without AVX, which then runs with the upper lanes dirty.
    template <class Get>
    QV_AVX_FN static inline __m256d Lanes(Get get, int i0)
    {
        return _mm256_setr_pd(get(i0), get(i0 + 1), get(i0 + 2), get(i0 + 3));
    }

    template <class Put>
    QV_AVX_FN static inline void Store(Put put, int i0, __m256d v)
    {
        alignas(32) double o[4];
        _mm256_store_pd(o, v);
        for (int r = 0; r < 4; ++r) put(i0 + r) = o[r];
    }

    // dx = xi - xj and so on, for four pairs at once.
    template <class Law>
    QV_AVX_FN static inline void Terms(__m256d xi, __m256d yi, __m256d mi, __m256d xj, __m256d yj, __m256d mj,
                                       __m256d c, double p, __m256d& fx, __m256d& fy)
    {
        const __m256d dx = _mm256_sub_pd(xi, xj);
        const __m256d dy = _mm256_sub_pd(yi, yj);
        const __m256d r2 = _mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy));
        const __m256d r = _mm256_sqrt_pd(r2);
        const __m256d f = Law::Force(mi, mj, c, p, r2, r);
        fx = _mm256_div_pd(_mm256_mul_pd(f, dx), r);
        fy = _mm256_div_pd(_mm256_mul_pd(f, dy), r);
    }

    template <class Law, class B>
    QV_AVX_FN static void Run(const B& b, int i0, int n, double c, double p)
    {
        const auto x = [&b](int i) -> double& { return b.X(i); };
        const auto y = [&b](int i) -> double& { return b.Y(i); };
        const auto m = [&b](int i) -> double& { return b.M(i); };
        const auto gx = [&b](int i) -> double& { return b.Fx(i); };
        const auto gy = [&b](int i) -> double& { return b.Fy(i); };
        const __m256d xi = Lanes(x, i0), yi = Lanes(y, i0), mi = Lanes(m, i0);
        __m256d fxi = Lanes(gx, i0), fyi = Lanes(gy, i0);
        const __m256d vc = _mm256_set1_pd(c);
        for (int j = i0 + kRows; j < n; ++j) {
            __m256d fx, fy;
            Terms<Law>(xi, yi, mi, _mm256_broadcast_sd(&b.X(j)), _mm256_broadcast_sd(&b.Y(j)),
                       _mm256_broadcast_sd(&b.M(j)), vc, p, fx, fy);
            fxi = _mm256_sub_pd(fxi, fx);
            fyi = _mm256_sub_pd(fyi, fy);
            b.Fx(j) = AddLanes(b.Fx(j), fx);
            b.Fy(j) = AddLanes(b.Fy(j), fy);
        }
        Store(gx, i0, fxi);
        Store(gy, i0, fyi);
    }

    template <class Law>
    QV_AVX_FN static void Cross(const Columns& s, int k0, int i1, double c, double p, double* gx, double* gy)
    {
        const __m256d xk = _mm256_loadu_pd(s.x + k0), yk = _mm256_loadu_pd(s.y + k0), mk = _mm256_loadu_pd(s.m + k0);
        const __m256d vc = _mm256_set1_pd(c);
        __m256d fxk = _mm256_setzero_pd(), fyk = _mm256_setzero_pd();
        for (int i = 0; i < i1; ++i) {
            __m256d fx, fy;
            Terms<Law>(_mm256_broadcast_sd(s.x + i), _mm256_broadcast_sd(s.y + i), _mm256_broadcast_sd(s.m + i), xk,
                       yk, mk, vc, p, fx, fy);
            fxk = _mm256_add_pd(fxk, fx);
            fyk = _mm256_add_pd(fyk, fy);
            alignas(32) double ox[4], oy[4];
            _mm256_store_pd(ox, fx);
            _mm256_store_pd(oy, fy);
            for (int l = 0; l < 4; ++l) {
                gx[l * i1 + i] = ox[l];
                gy[l * i1 + i] = oy[l];
            }
        }
        _mm256_storeu_pd(s.fx + k0, fxk);
        _mm256_storeu_pd(s.fy + k0, fyk);
    }

    QV_AVX_FN static void Take(double* acc, int a, int b, double* const* rows, int nRows)
    {
        int k = a;
        for (; k + 4 <= b; k += 4) {
            __m256d v = _mm256_loadu_pd(acc + k);
            for (int r = 0; r < nRows; ++r) v = _mm256_sub_pd(v, _mm256_loadu_pd(rows[r] + k));
            _mm256_storeu_pd(acc + k, v);
        }
        PortableRows::Take(acc, k, b, rows, nRows);
    }
};
#endif

// The pairs of [lo, hi) in blocks of kRows rows, then the last rows alone.
template <class Law, class Rows, class B>
void Pairs(const B& b, int lo, int hi, double c, double p)
{
    int i0 = lo;
    for (; i0 + kRows < hi; i0 += kRows) {
        Triangle<Law>(b, i0, i0 + kRows, c, p);
        Rows::template Run<Law>(b, i0, hi, c, p);
    }
    Triangle<Law>(b, i0, hi, c, p);
}

inline void Move(CPlanet& q, double dt)
{
    if (q.m_bFixed != 0) return;
    q.m_dVx = q.m_dVx + (q.m_dFx * dt) / q.m_dMass;
    q.m_dVy = q.m_dVy + (q.m_dFy * dt) / q.m_dMass;
    q.m_dX = q.m_dX + q.m_dVx * dt;
    q.m_dY = q.m_dY + q.m_dVy * dt;
}

template <class Law, class Rows>
void RunSteps(CPlanet* P, int n, double c, double p, double dt, int nSteps)
{
    const Records b{P};
    for (int s = 0; s < nSteps; ++s) {
        for (int i = 0; i < n; ++i) {
            P[i].m_dFx = 0.0;
            P[i].m_dFy = 0.0;
        }
        Pairs<Law, Rows>(b, 0, n, c, p);
        for (int i = 0; i < n; ++i) Move(P[i], dt);
    }
}

// Several threads on one step. The planets are cut into C pieces; piece t,
// the planets [a_t, a_t+1), computes every pair (i, k) whose k it holds, so
// that each of its accumulators receives, in the plain loop's order: +fx of
// (i, k) for i < a_t (the cross pairs, here), then the pairs inside the piece
// (the one-thread loop), then, once every piece is done, -fx of (k, j) for
// every j of the later pieces, in ascending j, read from the rows those pieces
// kept. The pieces shrink towards the end so that each has about as many
// pairs. A step is two phases, pairs then moves, each of C pieces that any
// thread may take; a phase starts when the one before it is complete. The
// moves are cut apart from the pairs, so that each piece has about as many
// kept terms to take: the first planets take most, the last none.
struct SharedStep {
    CPlanet* P;
    int n;
    double c, p, dt;
    int nSteps;
    int nPieces;
    Columns s;
    std::vector<int> start;           // a_t for t = 0..C
    std::vector<int> moveStart;       // the same for the moves
    std::vector<double*> rowX, rowY;  // per planet j >= a_1: its cross terms, by i
    std::atomic<long> nNext{0}, nDone{0};
};

template <class Law, class Rows>
void PairPhase(SharedStep& w, int a, int b)
{
    const Columns& s = w.s;
    int k = a;
    for (; k + kRows <= b; k += kRows)
        Rows::template Cross<Law>(s, k, a, w.c, w.p, w.rowX[static_cast<size_t>(k)], w.rowY[static_cast<size_t>(k)]);
    for (; k < b; ++k)
        PortableRows::Cross<Law, 1>(s, k, a, w.c, w.p, w.rowX[static_cast<size_t>(k)], w.rowY[static_cast<size_t>(k)]);
    Pairs<Law, Rows>(s, a, b, w.c, w.p);
}

template <class Rows>
void MovePhase(SharedStep& w, int a, int b)
{
    const Columns& s = w.s;
    for (size_t t = 0; t + 1 < w.start.size(); ++t) {
        const int lo = std::max(a, w.start[t]), hi = std::min(b, w.start[t + 1]), e = w.start[t + 1];
        if (lo >= hi) continue;
        Rows::Take(s.fx, lo, hi, w.rowX.data() + e, w.n - e);
        Rows::Take(s.fy, lo, hi, w.rowY.data() + e, w.n - e);
    }
    for (int k = a; k < b; ++k) {
        CPlanet& q = w.P[k];
        q.m_dFx = s.fx[k];
        q.m_dFy = s.fy[k];
        Move(q, w.dt);
        s.x[k] = q.m_dX;
        s.y[k] = q.m_dY;
    }
}

template <class Law, class Rows>
void SharedWork(SharedStep& w, CStepPool& pool)
{
    const long nPieces = w.nPieces, nTotal = 2L * w.nSteps * nPieces;
    for (long v = w.nNext.fetch_add(1); v < nTotal; v = w.nNext.fetch_add(1)) {
        const long nPhase = v / nPieces;
        const size_t t = static_cast<size_t>(v % nPieces);
        pool.WaitUntil(w.nDone, nPhase * nPieces);
        if (nPhase % 2 == 0)
            PairPhase<Law, Rows>(w, w.start[t], w.start[t + 1]);
        else
            MovePhase<Rows>(w, w.moveStart[t], w.moveStart[t + 1]);
        pool.Done(w.nDone, nPieces);
    }
}

template <class Law, class Rows>
void RunShared(CPlanet* P, int n, double c, double p, double dt, int nSteps, int nThreads)
{
    CStepPool& pool = CStepPool::Get();
    std::lock_guard<std::mutex> lock(pool.CallMutex());
    SharedStep w{P, n, c, p, dt, nSteps, kPiecesPerThread * nThreads, {}, {}, {}, {}, {}};
    const size_t C = static_cast<size_t>(w.nPieces);
    // The cross rows: planet j of piece t keeps one term per i < a_t.
    w.start.resize(C + 1);
    size_t nCross = 0;
    for (size_t t = 0; t <= C; ++t) {
        // Whole blocks of kRows, so that only the last piece has rows left over.
        const double a = n * std::sqrt(static_cast<double>(t) / static_cast<double>(C));
        w.start[t] = t == C ? n : std::min(n, kRows * static_cast<int>(std::lround(a / kRows)));
        if (t > 0) nCross += static_cast<size_t>(w.start[t] - w.start[t - 1]) * static_cast<size_t>(w.start[t - 1]);
    }
    // Planet k of piece t moves and takes one term from each planet after a_t+1.
    w.moveStart.assign(C + 1, n);
    w.moveStart[0] = 0;
    double nCost = 0.0;
    for (size_t t = 0; t < C; ++t)
        nCost += static_cast<double>(w.start[t + 1] - w.start[t]) * (n - w.start[t + 1] + kMoveCost);
    double nSoFar = 0.0;
    for (size_t t = 0, m = 1; t < C; ++t)
        for (int k = w.start[t]; k < w.start[t + 1]; ++k) {
            while (m < C && nSoFar >= nCost * static_cast<double>(m) / static_cast<double>(C)) w.moveStart[m++] = k;
            nSoFar += n - w.start[t + 1] + kMoveCost;
        }
    std::vector<double>& mem = pool.Scratch();
    mem.resize(5 * static_cast<size_t>(n) + 2 * nCross);
    double* q = mem.data();
    w.s = Columns{q, q + n, q + 2 * n, q + 3 * n, q + 4 * n};
    double* gx = q + 5 * n;
    double* gy = gx + nCross;
    w.rowX.resize(static_cast<size_t>(n));
    w.rowY.resize(static_cast<size_t>(n));
    for (size_t t = 0; t < C; ++t)
        for (int j = w.start[t]; j < w.start[t + 1]; ++j) {
            w.rowX[static_cast<size_t>(j)] = gx;
            w.rowY[static_cast<size_t>(j)] = gy;
            gx += w.start[t];
            gy += w.start[t];
        }
    for (int i = 0; i < n; ++i) {
        w.s.x[i] = P[i].m_dX;
        w.s.y[i] = P[i].m_dY;
        w.s.m[i] = P[i].m_dMass;
    }
    pool.Run(nThreads, [&w, &pool] { SharedWork<Law, Rows>(w, pool); });
}

template <class Rows>
void RunLaw(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
    if (P == nullptr || n <= 0 || nSteps <= 0) return;
    if (nThreads <= 0) nThreads = EulerCores();
    nThreads = std::min(nThreads, kEulerMaxThreads);
    const bool bShared = nThreads > 1 && n >= EulerThreadedFrom(law.nType) && n <= kEulerThreadedUpTo;
    const double c = law.dConst, p = law.dParam;
    switch (law.nType) {
    case 1:
        bShared ? RunShared<InversePower, Rows>(P, n, c, p, dt, nSteps, nThreads)
                : RunSteps<InversePower, Rows>(P, n, c, p, dt, nSteps);
        break;
    case 2:
        bShared ? RunShared<Exponential, Rows>(P, n, c, p, dt, nSteps, nThreads)
                : RunSteps<Exponential, Rows>(P, n, c, p, dt, nSteps);
        break;
    default:
        bShared ? RunShared<InverseSquare, Rows>(P, n, c, p, dt, nSteps, nThreads)
                : RunSteps<InverseSquare, Rows>(P, n, c, p, dt, nSteps);
        break;
    }
}

}  // namespace

int EulerCores()
{
    static const int s_nCores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return s_nCores;
}

void EulerStepsPortable(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
    RunLaw<PortableRows>(pPlanets, nPlanets, law, dt, nSteps, nThreads);
}

void EulerSteps(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
#ifdef QV_EULER_AVX
    static const bool s_bAvx = __builtin_cpu_supports("avx");
    if (s_bAvx) {
        RunLaw<AvxRows>(pPlanets, nPlanets, law, dt, nSteps, nThreads);
        return;
    }
#endif
    RunLaw<PortableRows>(pPlanets, nPlanets, law, dt, nSteps, nThreads);
}
