#include "engine/Euler.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/Avx512Rows.h"
#include "engine/AvxRows.h"
#include "engine/PairTerms.h"
#include "engine/StepPool.h"

// Speed without changing a bit. Every pair still does the same operations,
// each giving the same correctly rounded double, and every force accumulator
// still receives its terms in the order of the plain loop: first +fx from the
// pairs (k, i), k ascending, then −fx from the pairs (i, j), j ascending. The
// pair loop is cut into blocks of kN rows: the pairs inside the block first,
// in row order, then every later planet j against the block's rows, which
// hold their accumulators in registers while j's accumulator takes the rows'
// terms one after the other. That keeps kN independent dependency chains
// going instead of one, and lets the vector unit take the block's rows together.

namespace {

// The serial end of a shared step, in pair terms: taking one kept term, and
// moving one planet.
constexpr double kTakeCost = 1.0 / 16.0;
constexpr double kMoveCost = 2.0;
// A pair of the pow and exp laws costs about this many inverse-square pairs.
constexpr double kCostlyPair = 6.0;

// The pairs of [lo, hi) in blocks of kN rows, then the last rows alone.
template <class Law, class Rows, class B>
void Pairs(const B& b, int lo, int hi, double c, double p)
{
    int i0 = lo;
    for (; i0 + Rows::kN < hi; i0 += Rows::kN) {
        Triangle<Law>(b, i0, i0 + Rows::kN, c, p);
        Rows::template Block<Law, false>(b, i0, i0 + Rows::kN, hi, c, p, nullptr, nullptr);
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
// the planets [a_t, a_t+1), computes every pair (i, k) whose k it holds: its
// accumulators receive +fx of (i, k) for every i < a_t first (the cross pairs,
// whose terms for i it keeps), then the pairs inside the piece (the
// one-thread loop). Once every piece is done, the last piece's thread lets
// each piece u = 1, 2, … in turn hand its kept terms to the planets before it,
// k ascending, so that planet i of piece t receives −fx of (i, k) for the
// pieces after t in the order of k; then it moves every planet. The kept terms
// of the last piece, the largest share, are taken by the thread that wrote
// them, from its own cache. The pieces shrink towards the end so that each
// has about as much work, the last one counting its serial end.
struct SharedStep {
    CPlanet* P;
    int n;
    double c, p, dt;
    int nSteps;
    int nPieces;
    Columns s;
    std::vector<int> start;            // a_t for t = 0..C
    std::vector<double*> keepX, keepY;  // per piece: a_t × its planets, by rows of kN
    std::atomic<long> nNext{0}, nDone{0};
};

void MoveAll(const SharedStep& w, int lo, int hi)
{
    for (int k = lo; k < hi; ++k) {
        CPlanet& q = w.P[k];
        q.m_dFx = w.s.fx[k];
        q.m_dFy = w.s.fy[k];
        Move(q, w.dt);
        w.s.x[k] = q.m_dX;
        w.s.y[k] = q.m_dY;
    }
}

template <class Law, class Rows>
void Piece(SharedStep& w, CStepPool& pool, int t, long nStep)
{
    const Columns& s = w.s;
    const size_t T = static_cast<size_t>(t);
    const int a = w.start[T], e = w.start[T + 1];
    for (int k = a; k < e; ++k) s.fx[k] = s.fy[k] = 0.0;
    for (int i0 = 0; i0 < a; i0 += Rows::kN)
        Rows::template Block<Law, true>(s, i0, a, e, w.c, w.p, w.keepX[T] + i0 * (e - a), w.keepY[T] + i0 * (e - a));
    Pairs<Law, Rows>(s, a, e, w.c, w.p);
    if (t + 1 < w.nPieces) return;
    // No other piece reads the last piece's planets: they may move now.
    MoveAll(w, a, e);
    pool.WaitUntil(w.nDone, nStep * w.nPieces + t);
    for (size_t u = 1; u + 1 < w.start.size(); ++u)
        Rows::Take(s, w.start[u], w.start[u + 1] - w.start[u], w.keepX[u], w.keepY[u]);
    MoveAll(w, 0, a);
}

template <class Law, class Rows>
void SharedWork(SharedStep& w, CStepPool& pool)
{
    const long nPieces = w.nPieces, nTotal = w.nSteps * nPieces;
    for (long v = w.nNext.fetch_add(1); v < nTotal; v = w.nNext.fetch_add(1)) {
        const long nStep = v / nPieces;
        pool.WaitUntil(w.nDone, nStep * nPieces);
        Piece<Law, Rows>(w, pool, static_cast<int>(v % nPieces), nStep);
        pool.Done(w.nDone);
    }
}

// The starts of the pieces: before a_t lie t shares of the work, about a_t²/2
// pairs, where the last piece counts its takes and moves too. Whole blocks of
// kN rows, so that only the last piece has rows left over.
std::vector<int> PieceStarts(int n, int C, int kN, double pairCost)
{
    std::vector<int> start(static_cast<size_t>(C) + 1, n);
    double nTerms = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        const double extra = (kTakeCost * nTerms + kMoveCost * n) / pairCost;
        const double share = (0.5 * n * n + extra) / C;
        start[0] = 0;
        for (int t = 1; t < C; ++t) {
            const double a = std::sqrt(2.0 * share * t);
            const int limit = (n - 1) / kN * kN;
            start[static_cast<size_t>(t)] =
                std::max(start[static_cast<size_t>(t) - 1], std::min(limit, kN * static_cast<int>(std::lround(a / kN))));
        }
        nTerms = 0.0;
        for (size_t t = 1; t < start.size(); ++t)
            nTerms += static_cast<double>(start[t - 1]) * (start[t] - start[t - 1]);
    }
    return start;
}

template <class Law, class Rows>
void RunShared(CPlanet* P, int n, double c, double p, double dt, int nSteps, int nThreads, double pairCost)
{
    CStepPool& pool = CStepPool::Get();
    std::lock_guard<std::mutex> lock(pool.CallMutex());
    SharedStep w{P, n, c, p, dt, nSteps, nThreads, {}, PieceStarts(n, nThreads, Rows::kN, pairCost), {}, {}};
    size_t nKept = 0;
    for (size_t t = 0; t + 1 < w.start.size(); ++t)
        nKept += static_cast<size_t>(w.start[t]) * static_cast<size_t>(w.start[t + 1] - w.start[t]);
    std::vector<double>& mem = pool.Scratch();
    mem.resize(5 * static_cast<size_t>(n) + 2 * nKept);
    double* q = mem.data();
    w.s = Columns{q, q + n, q + 2 * n, q + 3 * n, q + 4 * n};
    double* gx = q + 5 * n;
    double* gy = gx + nKept;
    for (size_t t = 0; t + 1 < w.start.size(); ++t) {
        w.keepX.push_back(gx);
        w.keepY.push_back(gy);
        gx += static_cast<size_t>(w.start[t]) * static_cast<size_t>(w.start[t + 1] - w.start[t]);
        gy += static_cast<size_t>(w.start[t]) * static_cast<size_t>(w.start[t + 1] - w.start[t]);
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
        bShared ? RunShared<InversePower, Rows>(P, n, c, p, dt, nSteps, nThreads, kCostlyPair)
                : RunSteps<InversePower, Rows>(P, n, c, p, dt, nSteps);
        break;
    case 2:
        bShared ? RunShared<Exponential, Rows>(P, n, c, p, dt, nSteps, nThreads, kCostlyPair)
                : RunSteps<Exponential, Rows>(P, n, c, p, dt, nSteps);
        break;
    default:
        bShared ? RunShared<InverseSquare, Rows>(P, n, c, p, dt, nSteps, nThreads, 1.0)
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

bool EulerKernelRuns(EulerKernel kernel)
{
    switch (kernel) {
    case EulerKernel::Portable: return true;
#ifdef QV_EULER_AVX
    case EulerKernel::Avx: return __builtin_cpu_supports("avx");
    case EulerKernel::Avx512: return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
#endif
    default: return false;
    }
}

void EulerStepsWith(EulerKernel kernel, CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps,
                    int nThreads)
{
    switch (EulerKernelRuns(kernel) ? kernel : EulerKernel::Portable) {
#ifdef QV_EULER_AVX
    case EulerKernel::Avx512: RunLaw<Avx512Rows>(pPlanets, nPlanets, law, dt, nSteps, nThreads); return;
    case EulerKernel::Avx: RunLaw<AvxRows>(pPlanets, nPlanets, law, dt, nSteps, nThreads); return;
#endif
    default: RunLaw<PortableRows>(pPlanets, nPlanets, law, dt, nSteps, nThreads); return;
    }
}

void EulerSteps(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
    static const EulerKernel s_best = EulerKernelRuns(EulerKernel::Avx512) ? EulerKernel::Avx512
                                      : EulerKernelRuns(EulerKernel::Avx)  ? EulerKernel::Avx
                                                                           : EulerKernel::Portable;
    EulerStepsWith(s_best, pPlanets, nPlanets, law, dt, nSteps, nThreads);
}
