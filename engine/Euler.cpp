#include "engine/Euler.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>
#include <type_traits>
#include <vector>

#include "engine/Avx512Rows.h"
#include "engine/AvxRows.h"
#include "engine/PairTerms.h"
#include "engine/Simd128Rows.h"
#include "engine/StepPool.h"
#include "numerics/FastPowInt.h"

// Speed without changing a bit. In the plain loop planet k's accumulator takes
// +T(i, k) for i < k, then −T(k, j) for j > k, each ascending, and +T(i, k)
// is −T(k, i) bit for bit. So a block [a, e) of planets takes −T(k, i) for
// i < a on its own (the gather), then its inside pairs once each in the plain
// order (the triangle), then −T(k, j) for j >= e: it needs no other block's
// accumulators. Kernels keep kN rows' accumulators in registers, kN chains at once.

namespace {

template <class Rows, class = void>
struct HasInside : std::false_type {};
template <class Rows>
struct HasInside<Rows, std::enable_if_t<Rows::kInside>> : std::true_type {};

template <class Law, class Rows, class B>
void Pairs(const B& b, int lo, int hi, double c, double p);

// The pairs inside [lo, hi), at most kN rows: in lanes where the kernel can.
template <class Law, class Rows, class B>
void Inside(const B& b, int lo, int hi, double c, double p)
{
    if constexpr (HasInside<Rows>::value)
        if (hi - lo == Rows::kN) return Rows::template Inside<Law>(b, lo, c, p);
    Pairs<Law, typename Rows::Inner>(b, lo, hi, c, p);
}

// The pairs of [lo, hi) in blocks of kN rows: those inside a block, then the
// block's rows against every later planet.
template <class Law, class Rows, class B>
void Pairs(const B& b, int lo, int hi, double c, double p)
{
    if (hi - lo < 2) return;
    int i0 = lo;
    for (; i0 + Rows::kN < hi; i0 += Rows::kN) {
        Inside<Law, Rows>(b, i0, i0 + Rows::kN, c, p);
        Rows::template Block<Law, kTriangle>(b, i0, i0 + Rows::kN, hi, c, p);
    }
    Inside<Law, Rows>(b, i0, hi, c, p);
}

// The rows [lo, hi) against the planets [j0, j1), all before or all after them.
template <class Law, Side side, class Rows, class B>
void Gather(const B& b, int lo, int hi, int j0, int j1, double c, double p)
{
    int i = lo;
    for (; i + Rows::kN <= hi; i += Rows::kN) Rows::template Block<Law, side>(b, i, j0, j1, c, p);
    if constexpr (Rows::kN > 1) Gather<Law, side, typename Rows::Inner>(b, i, hi, j0, j1, c, p);  // the rest, narrower
}

// The complete force on each planet of [a, e) out of n.
template <class Law, class Rows, class B>
void Forces(const B& b, int a, int e, int n, double c, double p)
{
    for (int k = a; k < e; ++k) b.Fx(k) = b.Fy(k) = 0.0;
    Gather<Law, kBefore, Rows>(b, a, e, 0, a, c, p);
    Pairs<Law, Rows>(b, a, e, c, p);
    Gather<Law, kAfter, Rows>(b, a, e, e, n, c, p);
}

// Several threads: each step is nBlocks blocks that any thread may claim; a
// block of step s waits until every block of step s − 1 is done. Positions
// are read from one pair of columns and the moved ones written to the other,
// so that a block may move its planets while others still read where they
// were; the records hold velocities, accumulators and the latest positions.
struct Shared {
    CPlanet* P;
    int n, nBlocks, kN;
    long nSteps;
    double c, p, dt;
    double *x[2], *y[2], *m;
    std::atomic<long> nNext{0}, nDone{0};
    int Start(int t) const { return t == nBlocks ? n : kN * static_cast<int>(static_cast<long>(t) * n / nBlocks / kN); }
};

template <class Law, class Rows>
void Work(Shared& w, CStepPool& pool)
{
    for (long v = w.nNext.fetch_add(1); v < w.nSteps * w.nBlocks; v = w.nNext.fetch_add(1)) {
        const long s = v / w.nBlocks;
        const int t = static_cast<int>(v % w.nBlocks), from = static_cast<int>(s & 1);
        pool.WaitUntil(w.nDone, s * w.nBlocks);
        const int a = w.Start(t), e = w.Start(t + 1);
        Forces<Law, Rows>(Columns{w.x[from], w.y[from], w.m, w.P}, a, e, w.n, w.c, w.p);
        for (int k = a; k < e; ++k) Move(w.P[k], w.dt), w.x[1 - from][k] = w.P[k].m_dX, w.y[1 - from][k] = w.P[k].m_dY;
        pool.Done(w.nDone);
    }
}

template <class Law, class Rows>
void Run(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps, int nBlocks)
{
    const int nWorkers = std::min(nBlocks, EulerCores());
    std::vector<double> mem;
    try {  // without the memory, one thread
        if (nWorkers > 1 && n >= EulerThreadedFrom(law.nType)) mem.resize(5 * static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
    }
    for (int s = 0; mem.empty() && s < nSteps; ++s) {
        Forces<Law, Rows>(Records{P}, 0, n, n, law.dConst, law.dParam);
        for (int k = 0; k < n; ++k) Move(P[k], dt);
    }
    if (mem.empty()) return;
    double* q = mem.data();
    Shared w{P, n, std::min(nBlocks, n), Rows::kN, nSteps, law.dConst, law.dParam, dt,
             {q, q + n}, {q + 2 * n, q + 3 * n}, q + 4 * n};
    for (int k = 0; k < n; ++k) w.x[0][k] = P[k].m_dX, w.y[0][k] = P[k].m_dY, w.m[k] = P[k].m_dMass;
    CStepPool& pool = CStepPool::Get();
    pool.Run(nWorkers, [&w, &pool] { Work<Law, Rows>(w, pool); });
}

template <class Law>
void RunLaw([[maybe_unused]] EulerKernel kernel, CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps,
            int nBlocks)
{
#ifdef QV_EULER_AVX
    if (kernel == EulerKernel::Avx512) return Run<Law, Avx512Rows>(P, n, law, dt, nSteps, nBlocks);
    if (kernel != EulerKernel::Portable) return Run<Law, AvxRows>(P, n, law, dt, nSteps, nBlocks);
#endif
#ifdef QV_EULER_SIMD128
    if (kernel == EulerKernel::Simd128) return Run<Law, Simd128Rows>(P, n, law, dt, nSteps, nBlocks);
#endif
    Run<Law, PortableRows<4>>(P, n, law, dt, nSteps, nBlocks);
}

}  // namespace

int EulerCores() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

bool EulerKernelRuns(EulerKernel kernel)
{
#ifdef QV_EULER_AVX
    if (kernel == EulerKernel::Avx) return __builtin_cpu_supports("avx");
    if (kernel == EulerKernel::Avx512) return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
#endif
#ifdef QV_EULER_SIMD128
    if (kernel == EulerKernel::Simd128) return true;
#endif
    return kernel == EulerKernel::Portable;
}

void EulerStepsWith(EulerKernel kernel, CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps,
                    int nThreads)
{
    if (pPlanets == nullptr || nPlanets <= 0 || nSteps <= 0) return;
    if (!EulerKernelRuns(kernel)) kernel = EulerKernel::Portable;
    const int nBlocks = nThreads > 0 ? nThreads : EulerCores();
    switch (law.nType) {
    case 1:
        if (qvnum::IsSquaringPower(law.dParam)) return RunLaw<SquaringPower>(kernel, pPlanets, nPlanets, law, dt, nSteps, nBlocks);
        return RunLaw<InversePower>(kernel, pPlanets, nPlanets, law, dt, nSteps, nBlocks);
    case 2: return RunLaw<Exponential>(kernel, pPlanets, nPlanets, law, dt, nSteps, nBlocks);
    default: return RunLaw<InverseSquare>(kernel, pPlanets, nPlanets, law, dt, nSteps, nBlocks);
    }
}

void EulerSteps(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
    const bool bWide = nPlanets >= kEulerWideFrom && EulerKernelRuns(EulerKernel::Avx512);
    EulerKernel kernel = bWide ? EulerKernel::Avx512 : EulerKernel::Avx;
    if (!EulerKernelRuns(kernel)) kernel = EulerKernel::Simd128;  // or the portable one, where it is missing too
    EulerStepsWith(kernel, pPlanets, nPlanets, law, dt, nSteps, nThreads);
}
