#include "engine/Euler.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <type_traits>
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

// Costs in inverse-square pairs, measured: moving one planet, and what a kept
// pair saves against a pair inside a piece.
constexpr double kMoveCost = 4.0;
constexpr double kKeptPairSaving = 0.25;
// The cut between pieces moves after this many steps, when one piece of two
// neighbours took this much longer than the other.
constexpr int kStepsPerCut = 4;
constexpr double kCutSlack = 0.03;
// Polls for the first piece's rows before waiting for the whole piece.
constexpr int kIdlePolls = 2000;
// A pair of the pow and exp laws costs about this many inverse-square pairs.
constexpr double kCostlyPair = 6.0;

// The pairs of [lo, hi) in blocks of kN rows, then the last rows alone. The
// pairs inside a block go to the kernel's narrower partner (Rows::Inner), or
// one by one.
template <class Law, class Rows, class B>
void Pairs(const B& b, int lo, int hi, double c, double p, std::atomic<long>* pRows = nullptr, long nTag = 0);

template <class Law, class Rows, class B>
void Inside(const B& b, int lo, int hi, double c, double p)
{
    if constexpr (std::is_void_v<typename Rows::Inner>)
        Triangle<Law>(b, lo, hi, c, p);
    else
        Pairs<Law, typename Rows::Inner>(b, lo, hi, c, p);
}

// With pRows, nTag + i is stored there once every row before i is done.
template <class Law, class Rows, class B>
void Pairs(const B& b, int lo, int hi, double c, double p, std::atomic<long>* pRows, long nTag)
{
    int i0 = lo;
    for (; i0 + Rows::kN < hi; i0 += Rows::kN) {
        Inside<Law, Rows>(b, i0, i0 + Rows::kN, c, p);
        Rows::template Block<Law, false>(b, i0, i0 + Rows::kN, hi, c, p, nullptr, nullptr);
        if (pRows != nullptr) pRows->store(nTag + i0 + Rows::kN, std::memory_order_release);
    }
    Inside<Law, Rows>(b, i0, hi, c, p);
    if (pRows != nullptr) pRows->store(nTag + hi, std::memory_order_release);
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
// one-thread loop). The last piece's thread then lets each piece u = 1, 2, …
// in turn hand its kept terms to the planets before it, k ascending, so that
// planet i of piece t receives −fx of (i, k) for the pieces after t in the
// order of k, and moves the planets. The kept terms of the last piece, the
// largest share, are taken by the thread that wrote them, from its own cache;
// with two pieces, as soon as the first piece's rows are done. The
// planets are kept in columns for the run and go back to the records at its
// end. Each piece gets about as much work (the cuts follow the measured time).
struct SharedStep {
    int n;
    double c, p, dt;
    int nSteps;
    int nPieces;
    Columns s;
    std::vector<int> start;            // a_t for t = 0..C
    std::vector<double>* kept;          // the kept terms of every piece
    std::vector<double*> keepX, keepY;  // per piece: a_t × its planets, by rows of kN
    std::vector<double> seconds;        // per piece: its time since the last new cut
    int nSinceCut = 0;
    std::atomic<long> nNext{0}, nDone{0};
    std::atomic<long> nFirstRows{0};  // of two pieces: the first's rows done, tagged by step
};

// Where each piece keeps its terms.
void LayOutKept(SharedStep& w)
{
    size_t nKept = 0;
    for (size_t t = 0; t + 1 < w.start.size(); ++t)
        nKept += static_cast<size_t>(w.start[t]) * static_cast<size_t>(w.start[t + 1] - w.start[t]);
    if (w.kept->size() < 2 * nKept) w.kept->resize(2 * nKept);
    double* gx = w.kept->data();
    double* gy = gx + nKept;
    w.keepX.clear();
    w.keepY.clear();
    for (size_t t = 0; t + 1 < w.start.size(); ++t) {
        w.keepX.push_back(gx);
        w.keepY.push_back(gy);
        gx += static_cast<size_t>(w.start[t]) * static_cast<size_t>(w.start[t + 1] - w.start[t]);
        gy += static_cast<size_t>(w.start[t]) * static_cast<size_t>(w.start[t + 1] - w.start[t]);
    }
}

// Every few steps, one block of rows goes from the slower of two neighbouring
// pieces to the faster one. The cost model behind the first cut cannot know
// the machine, and any cut gives the same bits.
void Recut(SharedStep& w, int kN)
{
    if (++w.nSinceCut < kStepsPerCut) return;
    bool bCut = false;
    const int limit = (w.n - 1) / kN * kN;
    for (size_t t = 1; t + 1 < w.start.size(); ++t) {
        const double before = w.seconds[t - 1], after = w.seconds[t];
        if (before > after * (1.0 + kCutSlack) && w.start[t] - kN >= w.start[t - 1]) {
            w.start[t] -= kN;
            bCut = true;
        } else if (after > before * (1.0 + kCutSlack) && w.start[t] + kN <= std::min(limit, w.start[t + 1])) {
            w.start[t] += kN;
            bCut = true;
        }
    }
    std::fill(w.seconds.begin(), w.seconds.end(), 0.0);
    w.nSinceCut = 0;
    if (bCut) LayOutKept(w);
}

// With two pieces, the rows of the first become final block by block, and the
// second piece's thread takes their kept terms and moves them as they come,
// while the first is still computing: only the last blocks are left for the
// end of the step. Returns the seconds spent on them, not waiting.
template <class Rows>
double TakeAsTheyCome(SharedStep& w, CStepPool& pool, long nStep)
{
    const long nTag = nStep * (w.n + 1L);
    const int a = w.start[1], nJ = w.n - a;
    double busy = 0.0;
    for (int taken = 0, nIdle = 0; taken < a;) {
        const long ready = w.nFirstRows.load(std::memory_order_acquire) - nTag;
        if (ready > taken) {
            const auto t0 = std::chrono::steady_clock::now();
            Rows::Take(w.s, taken, static_cast<int>(ready), nJ, w.keepX[1], w.keepY[1]);
            Rows::Move(w.s, taken, static_cast<int>(ready), w.dt);
            busy += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            taken = static_cast<int>(ready);
            nIdle = 0;
        } else if (++nIdle < kIdlePolls) {
            CStepPool::Relax();
        } else {
            pool.WaitUntil(w.nDone, nStep * w.nPieces + 1);
        }
    }
    return busy;
}

template <class Law, class Rows>
void Piece(SharedStep& w, CStepPool& pool, int t, long nStep)
{
    const auto t0 = std::chrono::steady_clock::now();
    const Columns& s = w.s;
    const size_t T = static_cast<size_t>(t);
    const int a = w.start[T], e = w.start[T + 1];
    const bool bLast = t + 1 == w.nPieces, bTwo = w.nPieces == 2;
    for (int k = a; k < e; ++k) s.fx[k] = s.fy[k] = 0.0;
    for (int i0 = 0; i0 < a; i0 += Rows::kN)
        Rows::template Block<Law, true>(s, i0, a, e, w.c, w.p, w.keepX[T] + i0 * (e - a), w.keepY[T] + i0 * (e - a));
    Pairs<Law, Rows>(s, a, e, w.c, w.p, bTwo && t == 0 ? &w.nFirstRows : nullptr, nStep * (w.n + 1L));
    // No other piece reads the last piece's planets: they may move now.
    if (bLast) Rows::Move(s, a, e, w.dt);
    w.seconds[T] += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (bLast) {
        if (bTwo) {
            w.seconds[T] += TakeAsTheyCome<Rows>(w, pool, nStep);
            pool.WaitUntil(w.nDone, nStep * w.nPieces + t);  // for the first piece's time
        } else {
            pool.WaitUntil(w.nDone, nStep * w.nPieces + t);
            for (size_t u = 1; u + 1 < w.start.size(); ++u)
                Rows::Take(s, 0, w.start[u], w.start[u + 1] - w.start[u], w.keepX[u], w.keepY[u]);
            Rows::Move(s, 0, a, w.dt);
        }
        Recut(w, Rows::kN);
    }
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

// The starts of the pieces, each with about as much pair work: a piece
// [a, e) computes a·(e−a) kept pairs, cheaper than the others since they run
// in long rows of whole blocks, and (e−a)²/2 pairs inside; the last piece
// moves its own planets too. The takes and the other moves wait for the
// pieces (with two pieces, only for the last rows), so they weigh on none;
// the cuts measured during the run correct the rest. Whole blocks of kN rows,
// so that only the last piece has rows left over.
std::vector<int> PieceStarts(int n, int C, int kN, double pairCost)
{
    const double kept = 1.0 - kKeptPairSaving / pairCost;
    const auto work = [&](double a, double e, bool bLast) {
        return kept * a * (e - a) + 0.5 * (e - a) * (e - a) + (bLast ? kMoveCost / pairCost * (e - a) : 0.0);
    };
    const int limit = (n - 1) / kN * kN;
    std::vector<int> start(static_cast<size_t>(C) + 1, n);
    // The smallest share for which the pieces before the last leave it no more.
    double lo = 0.0, hi = work(0, n, true);
    for (int it = 0; it < 40; ++it) {
        const double share = 0.5 * (lo + hi);
        start[0] = 0;
        for (size_t t = 1; t < start.size() - 1; ++t) {
            double eLo = start[t - 1], eHi = n;
            for (int k = 0; k < 30; ++k) {
                const double e = 0.5 * (eLo + eHi);
                (work(start[t - 1], e, false) < share ? eLo : eHi) = e;
            }
            const int e = kN * static_cast<int>(std::lround(eLo / kN));
            start[t] = std::max(start[t - 1], std::min(limit, e));
        }
        (work(start[static_cast<size_t>(C) - 1], n, true) > share ? lo : hi) = share;
    }
    return start;
}

template <class Law, class Rows>
void RunShared(CPlanet* P, int n, double c, double p, double dt, int nSteps, int nThreads, double pairCost)
{
    CStepPool& pool = CStepPool::Get();
    std::lock_guard<std::mutex> lock(pool.CallMutex());
    // The cut the last run of this law and size ended with.
    static std::vector<int> s_start;
    if (s_start.size() != static_cast<size_t>(nThreads) + 1 || s_start.back() != n)
        s_start = PieceStarts(n, nThreads, Rows::kN, pairCost);
    SharedStep w{n, c, p, dt, nSteps, nThreads, {}, s_start, &pool.Kept(), {}, {}, {}};
    w.seconds.assign(static_cast<size_t>(nThreads), 0.0);
    LayOutKept(w);
    std::vector<double>& mem = pool.Scratch();
    mem.resize(8 * static_cast<size_t>(n));
    double* q = mem.data();
    w.s = Columns{q, q + n, q + 2 * n, q + 3 * n, q + 4 * n, q + 5 * n, q + 6 * n, q + 7 * n};
    for (int i = 0; i < n; ++i) {
        w.s.x[i] = P[i].m_dX;
        w.s.y[i] = P[i].m_dY;
        w.s.m[i] = P[i].m_dMass;
        w.s.vx[i] = P[i].m_dVx;
        w.s.vy[i] = P[i].m_dVy;
        w.s.fixed[i] = P[i].m_bFixed != 0 ? 1.0 : 0.0;
    }
    pool.Run(nThreads, [&w, &pool] { SharedWork<Law, Rows>(w, pool); });
    for (int i = 0; i < n; ++i) {
        P[i].m_dX = w.s.x[i];
        P[i].m_dY = w.s.y[i];
        P[i].m_dVx = w.s.vx[i];
        P[i].m_dVy = w.s.vy[i];
        P[i].m_dFx = w.s.fx[i];
        P[i].m_dFy = w.s.fy[i];
    }
    s_start = w.start;
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
    static const bool s_bAvx512 = EulerKernelRuns(EulerKernel::Avx512), s_bAvx = EulerKernelRuns(EulerKernel::Avx);
    const bool bWide = s_bAvx512 && nPlanets >= kEulerWideFrom && EulerThreadedFrom(law.nType) == kEulerThreadedFrom;
    const EulerKernel kernel = bWide ? EulerKernel::Avx512 : s_bAvx ? EulerKernel::Avx : EulerKernel::Portable;
    EulerStepsWith(kernel, pPlanets, nPlanets, law, dt, nSteps, nThreads);
}
