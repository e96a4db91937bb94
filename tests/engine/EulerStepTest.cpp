#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <random>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "engine/Avx512Rows.h"
#include "numerics/CorrectlyRounded.h"
#include "numerics/FastPow.h"
#include "numerics/FastPowInt.h"
#include "numerics/ScalarLanes.h"
#include "tests/engine/EngineSupport.h"

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Allocations of exactly this size fail, so that a test can take away the
// memory of one allocation and nothing else.
static std::atomic<std::size_t> g_nRefusedSize{0};
static std::atomic<int> g_nRefused{0};

[[gnu::noinline]] void* operator new(std::size_t nBytes)
{
    if (nBytes != 0 && nBytes == g_nRefusedSize.load()) {
        ++g_nRefused;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(nBytes ? nBytes : 1)) return p;
    throw std::bad_alloc();
}
// Out of line, so that the compiler never pairs the library's new with this free.
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace {

#ifdef QV_EULER_AVX
// The lanes of the fast divider's proof that q[l] is n[l]/d[l] rounded to nearest.
QV_AVX512_FN unsigned ProvenLanes(const double* n, const double* d, const double* q)
{
    return Avx512Rows::Proven(_mm512_loadu_pd(n), _mm512_loadu_pd(d), _mm512_loadu_pd(q), 0xFF);
}
#endif

// A spread of planets: varied masses and velocities, every fifth one fixed
// (so carrying a stored velocity) by a flag of 1, -1 or 2, as a file may
// write it, planets 2 and 6 a quarter pixel apart.
std::vector<CPlanet> Scatter(int n)
{
    const int kFlags[] = {1, -1, 2};
    std::vector<CPlanet> planets;
    for (int i = 0; i < n; ++i)
        planets.push_back(Body(i == 6 ? 74.25 : 37 * i % 800, 91 * (i == 6 ? 2 : i) % 600 + 0.5 * (i % 2), i % 7 - 3.5,
                               i % 11 - 5, 0.5 + i % 9, i % 5 == 3 ? kFlags[i / 5 % 3] : 0));
    return planets;
}

// Pins the plain loop itself: attraction, velocity first, then position with
// the new velocity; the fixed planet keeps its place and stored velocity.
TEST(EulerStep, VelocityFirstThenPositionAndFixedPlanetsStay)
{
    // The fixed planet 100 px away pulls with exactly 1 along x.
    std::vector<CPlanet> plain = {Body(0, 0, 1, 0, 1), Body(100, 0, 5, -3, 1, 1)}, fast = plain;
    ReferenceSteps(plain.data(), 2, CForceLaw{}, 0.5, 1);
    EulerSteps(fast.data(), 2, CForceLaw{}, 0.5, 1);
    EXPECT_EQ(Hex(plain), "0x1.8p-1 0x0p+0 0x1.8p+0 0x0p+0 0x1p+0 0x0p+0 0x1.9p+6 0x0p+0 0x1.4p+2 -0x1.8p+1 -0x1p+0 0x0p+0 ");
    EXPECT_EQ(Hex(fast), Hex(plain));
}

// Every kernel this processor runs, on 1 to 64 threads, against the plain
// loop bit for bit: every law, fixed planets, sizes around the block edges,
// the threading thresholds and up to 1,000, a pair almost on top of each
// other, and a start full of non-finite values.
TEST(EulerStep, BitIdenticalToThePlainLoopOnAnyNumberOfThreads)
{
    const CForceLaw laws[] = {{0},           {1, CrPow(100.0, 2.5), 2.5}, {2, 1.0, -0.02}, {1, 1.0, 0.0}, {2, 1.0, 0.0},
                              {2, 1.0, 0.003}, {3, 10000.0, 4.0}, {7}, {-1}, {1, CrPow(100.0, 3.0), 3.0},
                              {1, 1.0, 1.7}};
    const int from = kEulerThreadedFrom, costly = kEulerThreadedFromCostly;
    std::vector<std::vector<CPlanet>> starts;
    for (int n : {0, 1, 2, 4, 5, 8, 9, costly - 1, costly, costly + 1, from - 1, from, from + 1, from + 7, 203, 1000})
        starts.push_back(Scatter(n));
    std::vector<CPlanet> bad = Scatter(from + 5);
    bad[1].m_dX = bad[5].m_dX, bad[1].m_dY = bad[5].m_dY;  // zero distance
    bad[3].m_dMass = 0.0, bad[3].m_bFixed = 0;             // moving planet of mass 0
    bad[from].m_dMass = 1e308;                             // overflow in the products
    starts.push_back(bad);
    for (size_t l = 0; l < std::size(laws); ++l)
        for (const std::vector<CPlanet>& start : starts) {
            const int n = static_cast<int>(start.size()), nSteps = n > 200 ? 2 : 12;
            if (n > 200 && l > 2) continue;  // the large ones for the three laws only
            std::vector<CPlanet> want = start;
            ReferenceSteps(want.data(), n, laws[l], 0.0004, nSteps);
            for (EulerKernel kernel : {EulerKernel::Portable, EulerKernel::Avx, EulerKernel::Avx512})
                for (int nThreads : {1, 2, 3, 5, 8, 16, 64}) {
                    std::vector<CPlanet> got = start;
                    EulerStepsWith(kernel, got.data(), n, laws[l], 0.0004, nSteps, nThreads);
                    EXPECT_EQ(Hex(got), Hex(want)) << "kernel " << static_cast<int>(kernel) << ", type "
                                                   << laws[l].nType << ", N = " << n << ", " << nThreads << " threads";
                }
        }
}

// The distances whose pow (n = 1.7; n = 2.5, by squaring and a root) or exp
// (k = −1) the fast path's rounding test leaves to the scalar function (about
// one in 10^4; for 2.5, the midpoints w^5·2^-35 of an odd w of 11 bits at
// r = w²·2^-14), every third
// planet an ordinary one: on a line, from a planet at the origin placed first,
// in the middle and last, so that each kernel meets them in every lane, alone
// and with others. The forces of one step must be the plain loop's.
TEST(EulerStep, KernelsTakeTheScalarFunctionWhereTheFastPathGivesUp)
{
    std::mt19937_64 g(3);
    std::uniform_real_distribution<double> distance(1.0, 700.0);
    std::vector<double> hard[3];
    while (hard[0].size() < 48 || hard[1].size() < 48 || hard[2].size() < 48) {
        const double r = distance(g), w = static_cast<double>(2 * (g() % 115) + 1553);
        bool ok = true;
        qvnum::PowFast<qvnum::ScalarLanes>(r, 1.7, ok);
        if (!ok && hard[0].size() < 48) hard[0].push_back(r);
        ok = true;
        qvnum::PowSquaringFast<qvnum::ScalarLanes>(w * w * 0x1p-14, 5, ok);
        if (!ok && hard[1].size() < 48) hard[1].push_back(w * w * 0x1p-14);
        ok = true;
        qvnum::ExpFast<qvnum::ScalarLanes>(-r, 0.0, 0.0, ok);
        if (!ok && hard[2].size() < 48) hard[2].push_back(r);
    }
    const CForceLaw laws[] = {{1, 1.0, 1.7}, {1, 1.0, 2.5}, {2, 1.0, -1.0}};
    for (int l = 0; l < 3; ++l) {
        std::vector<CPlanet> line;
        for (size_t k = 0; k < hard[l].size(); ++k) {
            line.push_back(Body(hard[l][k], 0.0, 0, 0, 1.0 + k % 3));
            if (k % 2 == 1) line.push_back(Body(hard[l][k] + 0.375, 0.0, 0, 0, 1.5));
        }
        for (size_t at : {size_t{0}, line.size() / 2 + 3, line.size()}) {
            std::vector<CPlanet> start = line;
            start.insert(start.begin() + static_cast<long>(at), Body(0.0, 0.0, 0, 0, 2.0));
            const int n = static_cast<int>(start.size());
            std::vector<CPlanet> want = start;
            ReferenceSteps(want.data(), n, laws[l], 0.0004, 1);
            for (EulerKernel kernel : {EulerKernel::Avx, EulerKernel::Avx512})
                for (int nThreads : {1, 2, 3}) {
                    std::vector<CPlanet> got = start;
                    EulerStepsWith(kernel, got.data(), n, laws[l], 0.0004, 1, nThreads);
                    EXPECT_EQ(Hex(got), Hex(want)) << "kernel " << static_cast<int>(kernel) << ", type "
                                                   << laws[l].nType << ", origin at " << at << ", " << nThreads << " threads";
                }
        }
    }
}

// A worker thread that cannot start leaves the work to the others, down to
// the calling thread alone: in a fresh process (no worker started yet) whose
// address space has no room for another thread's stack. Without the memory
// for the threads' columns the step runs on the calling thread.
TEST(EulerStep, RunsOnFewerThreadsWhenNoneCanStart)
{
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)  // they need the address space and operator new
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::vector<CPlanet> want = Scatter(200), got = want;
    ReferenceSteps(want.data(), 200, CForceLaw{}, 0.0004, 3);

    g_nRefusedSize = 5 * 200 * sizeof(double);
    EulerSteps(got.data(), 200, CForceLaw{}, 0.0004, 3, 2);
    g_nRefusedSize = 0;
    EXPECT_EQ(Hex(got), Hex(want));
    EXPECT_EQ(g_nRefused > 0, EulerCores() > 1);
    got = Scatter(200);
    const auto run = [&] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t bytes = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + (4 << 20));
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_AS, &limit);
        EulerSteps(got.data(), 200, CForceLaw{}, 0.0004, 3, 8);
        std::exit(Hex(got) == Hex(want) ? 0 : 1);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
#endif
}

// The fast quotients stand or fall by their proof: it must never pass a
// neighbour of the true quotient (powers of two, their neighbours, zeros,
// subnormals and non-finite values included), and must pass nearly every
// true quotient of ordinary numbers, or the fast path would never be taken.
TEST(EulerStep, FastQuotientIsProvenOnlyWhenItIsTheCorrectlyRoundedOne)
{
#ifdef QV_EULER_AVX
    if (!EulerKernelRuns(EulerKernel::Avx512)) GTEST_SKIP() << "no AVX-512 here";
    std::uint64_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 6364136223846793005ull + 1442695040888963407ull) >> 11; };
    const auto roll = [&next](int k) { return static_cast<int>(next() % static_cast<unsigned>(k)); };
    const auto pick = [&next, &roll](int kind) {
        const double special[] = {0.0, -0.0, INFINITY, NAN, 0x1p-1074, 0x1p-1022, DBL_MAX, 1.0, 2.0, 0x1p-980};
        const double u = static_cast<double>(next()) * 0x1p-53;
        switch (kind) {
        case 0: return 2000.0 * u - 1000.0;
        case 1: return std::ldexp(1.0 + u, roll(2100) - 1075);
        case 2: return std::nextafter(std::ldexp(1.0, roll(40) - 20), roll(2) ? 4.0 : 0.0);
        default: return special[roll(10)];
        }
    };
    int nOrdinary = 0, nOrdinaryProven = 0;
    for (int it = 0; it < 30000; ++it) {
        double n[8], d[8], q[8];
        const int kind = roll(4), delta = roll(3) - 1;
        for (int l = 0; l < 8; ++l) {
            n[l] = pick(roll(5) == 0 ? 3 : kind);
            d[l] = std::fabs(pick(roll(5) == 0 ? 3 : kind));
            q[l] = delta == 0 ? n[l] / d[l] : std::nextafter(n[l] / d[l], delta * INFINITY);
        }
        const unsigned ok = ProvenLanes(n, d, q);
        for (int l = 0; l < 8; ++l) {
            const double want = n[l] / d[l];
            if ((ok >> l & 1) != 0) {
                EXPECT_EQ(std::memcmp(&q[l], &want, sizeof want), 0) << n[l] << " / " << d[l] << " as " << q[l];
            }
            const bool bOrdinary = std::fabs(n[l]) > 1e-3 && std::fabs(n[l]) < 1e4 && d[l] > 1e-3 && d[l] < 1e4;
            if (kind == 0 && delta == 0 && bOrdinary) {
                ++nOrdinary;
                nOrdinaryProven += ok >> l & 1;
            }
        }
    }
    EXPECT_GT(nOrdinaryProven, nOrdinary * 0.99);
#endif
}

}  // namespace
