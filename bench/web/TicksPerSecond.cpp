// Ticks per second of a run on one thread (300 Euler steps a tick), the same
// program natively, in Node and in the browser, so the three stand side by
// side. usage: ticks-per-second [--portable] [type]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <vector>

#include "bench/BenchSystem.h"

namespace {
constexpr int kStepsPerTick = 300;
constexpr double kTimeStep = 0.0002;

// The best of three rounds of at least half a second each: the round least
// disturbed by other programs.
double TicksPerSecond(bool portable, int nType, int n)
{
    using Clock = std::chrono::steady_clock;
    const CForceLaw law = LawOfType(nType);
    const std::vector<CPlanet> start = MakeSystem(n);
    std::vector<CPlanet> planets = start;
    double best = 0.0;
    for (int round = 0; round < 3; ++round) {
        Reset(planets, start);
        const Clock::time_point t0 = Clock::now();
        long ticks = 0;
        double seconds = 0.0;
        do {
            if (portable) EulerStepsWith(EulerKernel::Portable, planets.data(), n, law, kTimeStep, kStepsPerTick, 1);
            else EulerSteps(planets.data(), n, law, kTimeStep, kStepsPerTick, 1);
            ++ticks;
            seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        } while (seconds < 0.5);
        if (ticks / seconds > best) best = ticks / seconds;
    }
    return best;
}
}  // namespace

int main(int argc, char** argv)
{
    bool portable = false;
    int nType = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--portable") == 0) portable = true;
        else nType = std::atoi(argv[i]);
    }
    const char* kernel = portable                                    ? "portable"
                         : EulerKernelRuns(EulerKernel::Avx)         ? "the desktop's"
                         : EulerKernelRuns(EulerKernel::Simd128)     ? "128-bit vector"
                                                                     : "portable";
    TicksPerSecond(portable, nType, 10);  // a browser compiles the hot code again once it has run a while
    for (int n : {10, 50, 100, 200})
        std::printf("type %d, %s kernel, %3d bodies: %6.0f ticks/s\n", nType, kernel, n, TicksPerSecond(portable, nType, n));
    return 0;
}
