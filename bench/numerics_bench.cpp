// exp and pow per argument: the C library's beside ours, scalar and in the
// vector forms, over the engine's arguments (r·k for exp; for pow r^2.5, by
// squaring and a root, and r^1.7, by logarithm: the second argument is 10n).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "numerics/CorrectlyRounded.h"
#include "numerics/VectorForms.h"

namespace {

constexpr int kN = 1024;

std::vector<double> Distances()
{
    std::vector<double> r(kN);
    for (int i = 0; i < kN; ++i) r[i] = 1.0 + 800.0 * ((i * 7919) % kN) / kN;
    return r;
}

template <class F>
void PerArgument(benchmark::State& state, F f)
{
    std::vector<double> x = Distances(), out(kN);
    if (state.range(0) == 1)
        for (double& v : x) v *= -0.01;  // exp's arguments
    for (auto _ : state) {
        f(x.data(), out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}

void BM_ExpGlibc(benchmark::State& s) { PerArgument(s, [](const double* x, double* o) { for (int i = 0; i < kN; ++i) o[i] = std::exp(x[i]); }); }
void BM_ExpOurs(benchmark::State& s) { PerArgument(s, [](const double* x, double* o) { for (int i = 0; i < kN; ++i) o[i] = CrExp(x[i]); }); }
double PowN(const benchmark::State& s) { return static_cast<double>(s.range(1)) / 10.0; }
void BM_PowGlibc(benchmark::State& s) { PerArgument(s, [y = PowN(s)](const double* x, double* o) { for (int i = 0; i < kN; ++i) o[i] = std::pow(x[i], y); }); }
void BM_PowOurs(benchmark::State& s) { PerArgument(s, [y = PowN(s)](const double* x, double* o) { for (int i = 0; i < kN; ++i) o[i] = CrPow(x[i], y); }); }
#ifdef QV_NUMERICS_AVX
void BM_ExpAvx(benchmark::State& s) { PerArgument(s, [](const double* x, double* o) { for (int i = 0; i < kN; i += 4) CrExpAvx(x + i, o + i); }); }
void BM_PowAvx(benchmark::State& s) { PerArgument(s, [y = PowN(s)](const double* x, double* o) { for (int i = 0; i < kN; i += 4) CrPowAvx(x + i, y, o + i); }); }
void BM_ExpAvx512(benchmark::State& s)
{
    if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("fma")) return s.SkipWithError("no AVX-512");
    PerArgument(s, [](const double* x, double* o) { for (int i = 0; i < kN; i += 8) CrExpAvx512(x + i, o + i); });
}
void BM_PowAvx512(benchmark::State& s)
{
    if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("fma")) return s.SkipWithError("no AVX-512");
    PerArgument(s, [y = PowN(s)](const double* x, double* o) { for (int i = 0; i < kN; i += 8) CrPowAvx512(x + i, y, o + i); });
}
BENCHMARK(BM_ExpAvx)->Arg(1);
BENCHMARK(BM_ExpAvx512)->Arg(1);
BENCHMARK(BM_PowAvx)->Args({0, 25})->Args({0, 17});
BENCHMARK(BM_PowAvx512)->Args({0, 25})->Args({0, 17});
#endif

}  // namespace

BENCHMARK(BM_ExpGlibc)->Arg(1);
BENCHMARK(BM_ExpOurs)->Arg(1);
BENCHMARK(BM_PowGlibc)->Args({0, 25})->Args({0, 17});
BENCHMARK(BM_PowOurs)->Args({0, 25})->Args({0, 17});
