// One timer tick of the simulation (300 Euler steps) for growing systems and
// each force law, on one thread, on every core (threads 0) and in 16 blocks
// (more than the cores of most machines): nanoseconds per pair evaluation, and the largest system whose tick still fits in the 20 ms
// timer period. Wall-clock time, since the step is shared among threads: run
// it on a quiet machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdint>
#include <vector>

#include "bench/BenchSystem.h"
#include "engine/Euler.h"
#include "tests/engine/PlainLoop.h"

namespace {

constexpr int kStepsPerTick = 300;
constexpr double kTimeStep = 0.0002;
constexpr double kTickBudgetSeconds = 0.020;

using StepsFn = void (*)(CPlanet*, int, const CForceLaw&, double, int, int);

// The plain pair loop, one pair at a time in the written order: the yardstick.
void PlainLoop(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps, int) { ReferenceSteps(P, n, law, dt, nSteps); }

void TickWith(benchmark::State& state, StepsFn steps)
{
    const int nType = static_cast<int>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    const int nThreads = state.range(2) == 0 ? EulerCores() : static_cast<int>(state.range(2));
    const CForceLaw law = LawOfType(nType);
    const std::vector<CPlanet> start = MakeSystem(n);
    std::vector<CPlanet> planets = start;
    for (auto _ : state) {
        Reset(planets, start);
        steps(planets.data(), n, law, kTimeStep, kStepsPerTick, nThreads);
        benchmark::DoNotOptimize(planets.data());
        benchmark::ClobberMemory();
    }
    state.counters["threads"] = nThreads;
    const double pairsPerTick = static_cast<double>(kStepsPerTick) * n * (n - 1) / 2.0;
    // Seconds per pair (shown with an "n" suffix for nanoseconds).
    state.counters["per_pair"] =
        benchmark::Counter(pairsPerTick, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["ticks_per_s"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Tick(benchmark::State& state) { TickWith(state, EulerSteps); }
void PortableSteps(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
    EulerStepsWith(EulerKernel::Portable, P, n, law, dt, nSteps, nThreads);
}
void AvxSteps(CPlanet* P, int n, const CForceLaw& law, double dt, int nSteps, int nThreads)
{
    EulerStepsWith(EulerKernel::Avx, P, n, law, dt, nSteps, nThreads);
}
void BM_TickPortable(benchmark::State& state) { TickWith(state, PortableSteps); }
void BM_TickAvx(benchmark::State& state) { TickWith(state, AvxSteps); }
void BM_TickPlainLoop(benchmark::State& state) { TickWith(state, PlainLoop); }

double WallSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

// Best of a few ticks, in seconds: the best is the one least disturbed by
// other programs.
double TickSeconds(int nType, int n, int nThreads, double param = 0.0)
{
    CForceLaw law = LawOfType(nType);
    if (param != 0.0) law.dParam = param;
    const std::vector<CPlanet> start = MakeSystem(n);
    std::vector<CPlanet> planets = start;
    double best = 1e30;
    for (int k = 0; k < 5; ++k) {
        Reset(planets, start);
        const double t0 = WallSeconds();
        EulerSteps(planets.data(), n, law, kTimeStep, kStepsPerTick, nThreads);
        const double t1 = WallSeconds();
        benchmark::DoNotOptimize(planets.data());
        const double s = t1 - t0;
        if (s < best) best = s;
    }
    return best;
}

// The largest N whose tick takes at most 20 ms, by bisection.
void BM_LargestNIn20ms(benchmark::State& state)
{
    const int nType = static_cast<int>(state.range(0));
    const int nThreads = state.range(1) == 0 ? EulerCores() : static_cast<int>(state.range(1));
    int good = 2;
    for (auto _ : state) {
        int lo = 2, hi = 4;
        while (TickSeconds(nType, hi, nThreads) <= kTickBudgetSeconds) {
            lo = hi;
            hi *= 2;
        }
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (TickSeconds(nType, mid, nThreads) <= kTickBudgetSeconds)
                lo = mid;
            else
                hi = mid;
        }
        good = lo;
    }
    state.counters["largest_N"] = good;
    state.counters["threads"] = nThreads;
}

// A pair under pow (n = 3; n = 2.5, with a square root; n = 1.7, which takes
// the logarithm) and exp (k = −0.01) against a pair of the inverse square:
// 300 bodies on every core, the laws alternated in one run, best tick of each.
void BM_PairCostAgainstInverseSquare(benchmark::State& state)
{
    double best[5] = {1e30, 1e30, 1e30, 1e30, 1e30};
    for (auto _ : state) {
        for (int nType = 0; nType < 3; ++nType) best[nType] = std::min(best[nType], TickSeconds(nType, 300, EulerCores()));
        best[3] = std::min(best[3], TickSeconds(1, 300, EulerCores(), 2.5));
        best[4] = std::min(best[4], TickSeconds(1, 300, EulerCores(), 1.7));
    }
    state.counters["pow"] = best[1] / best[0];
    state.counters["pow_2.5"] = best[3] / best[0];
    state.counters["pow_1.7"] = best[4] / best[0];
    state.counters["exp"] = best[2] / best[0];
    state.counters["threads"] = EulerCores();
}

}  // namespace

BENCHMARK(BM_PairCostAgainstInverseSquare)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// Threads 1, 0 (every core) and 16; N from below the threading threshold up.
BENCHMARK(BM_Tick)
    ->ArgNames({"type", "N", "threads"})
    ->ArgsProduct({{0, 1, 2}, {2, 5, 9, 10, 12, 16, 20, 24, 32, 40, 48, 64, 80, 100, 200, 300}, {1, 0, 16}})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickPortable)
    ->ArgNames({"type", "N", "threads"})
    ->ArgsProduct({{0, 1, 2}, {10, 200}, {1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickAvx)
    ->ArgNames({"type", "N", "threads"})
    ->ArgsProduct({{0, 1, 2}, {5, 9, 10, 12, 16, 20, 40, 64, 100, 200, 300}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickPlainLoop)
    ->ArgNames({"type", "N", "threads"})
    ->ArgsProduct({{0, 1, 2}, {10, 200}, {1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestNIn20ms)
    ->ArgNames({"type", "threads"})
    ->ArgsProduct({{0, 1, 2}, {1, 0}})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
