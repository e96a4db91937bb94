// The semi-implicit Euler step over the planet records of a run, free of any
// window so that tests, benchmarks and quorvane-run can drive it directly.
// Every kernel and any number of threads give the same bits as the plain pair
// loop: the same IEEE double operations in the same order, nothing reassociated.
#pragma once

#include "store/Planet.h"

// The force law of a run. Type 1 is F = m_i·m_j·dConst / pow(r, dParam), type 2
// F = exp(r·dParam)·m_i·m_j·dConst; every other type (0, the unrealised
// polynomial 3, and codes from hand-written files) is the inverse square
// F = m_i·m_j·dConst / r².
struct CForceLaw {
    int nType = 0;
    double dConst = 10000.0;
    double dParam = 0.0;
};

// Systems from this size up share each step among threads (below, handing out
// the work costs more than it saves); pow and exp pay off sooner.
constexpr int kEulerThreadedFrom = 80;
constexpr int kEulerThreadedFromCostly = 32;
inline int EulerThreadedFrom(int nType) { return nType == 1 || nType == 2 ? kEulerThreadedFromCostly : kEulerThreadedFrom; }
int EulerCores();

// nSteps Euler steps of length dt over pPlanets[0..nPlanets-1], in place. Each
// step clears the force accumulators, adds the force of every unordered pair
// (i ascending, then j ascending), then moves every planet that is not fixed:
// velocity first, then position with the new velocity. nThreads (0: one per
// core) cuts the planets into that many blocks, worked on by at most one
// thread per core; the result depends on neither. Allocates nothing on one thread.
void EulerSteps(CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps, int nThreads = 0);

// The kernels of the pair loop: plain scalar code, AVX, AVX-512 with FMA
// (for quotients it proves and exact products), and WebAssembly's 128-bit vectors in the browser. EulerSteps takes AVX-512 from kEulerWideFrom
// bodies, else AVX, else (in the browser) the 128-bit kernel; tests and
// benchmarks name one (one the processor or build lacks falls back to the
// portable one).
constexpr int kEulerWideFrom = 20;
enum class EulerKernel { Portable, Avx, Avx512, Simd128 };
bool EulerKernelRuns(EulerKernel kernel);
void EulerStepsWith(EulerKernel kernel, CPlanet* pPlanets, int nPlanets, const CForceLaw& law, double dt, int nSteps,
                    int nThreads = 0);
