// exp, log and pow on one fixed set of arguments, built the same way natively
// and for WebAssembly: each function's results hashed, and the vector forms
// the build has (AVX and AVX-512 natively, the 128-bit form in WebAssembly)
// compared with the scalar function lane by lane. The native build also
// checks every result against MPFR. numerics-cases.sh runs both and wants the
// same hashes: then the browser's scalar and vector forms give the desktop's
// bits, which MPFR has checked.
//
// Random draws use mt19937_64's raw output only: the standard fixes it, while
// the distributions differ between libstdc++ and Emscripten's libc++.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "numerics/CorrectlyRounded.h"
#include "numerics/FastExp.h"
#include "numerics/ScalarLanes.h"
#include "numerics/VectorForms.h"

#ifdef QV_CASES_WITH_MPFR
#include "numerics/Oracle.h"
#endif
#ifdef __wasm_simd128__
#include "numerics/LaneDriver.h"
#include "numerics/Simd128Lanes.h"
#endif

namespace {

struct Arg {
    double x, y;
};

uint64_t Bits(double v)
{
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool Same(double a, double b) { return Bits(a) == Bits(b) || (a != a && b != b); }

double Unit(std::mt19937_64& g) { return static_cast<double>(g() >> 11) * 0x1p-53; }
double Uniform(std::mt19937_64& g, double lo, double hi) { return lo + (hi - lo) * Unit(g); }

// |v| spread evenly in the exponent between 2^lo and 2^hi, random significand.
double Spread(std::mt19937_64& g, int lo, int hi, bool signs)
{
    const int e = lo + static_cast<int>(g() % static_cast<uint64_t>(hi - lo + 1));
    const double v = std::ldexp(1.0 + Unit(g), e);
    return signs && (g() & 1) ? -v : v;
}

const double kInf = INFINITY, kNaN = NAN;

std::vector<Arg> ExpCases()
{
    std::mt19937_64 g(1);
    std::vector<Arg> a;
    for (int i = 0; i < 40000; ++i) a.push_back({Uniform(g, 0.0, 1500.0) * Uniform(g, -0.3, 0.02), 0});
    for (int i = 0; i < 40000; ++i) a.push_back({Uniform(g, -746.0, 710.0), 0});
    for (int i = 0; i < 20000; ++i) a.push_back({Spread(g, -1074, 9, true), 0});
    for (double b : {0x1p-53, -0x1p-53, 0x1p-54, -0x1p-54})
        for (int i = -200; i <= 200; ++i) a.push_back({b * (1.0 + i * 0x1p-52), 0});
    for (int i = 0; i < 2000000; ++i) {  // those the fast path sends on
        const double x = Uniform(g, -700.0, 700.0);
        bool ok = true;
        qvnum::ExpFast<qvnum::ScalarLanes>(x, 0.0, 0.0, ok);
        if (!ok) a.push_back({x, 0});
    }
    for (double x : {0.0, -0.0, kInf, -kInf, kNaN, 709.78, 709.8, -708.4, -745.1, -745.2, 0x1p-1074, -0x1p-1074})
        a.push_back({x, 0});
    return a;
}

std::vector<Arg> LogCases()
{
    std::mt19937_64 g(2);
    std::vector<Arg> a;
    for (int i = 0; i < 40000; ++i) a.push_back({Uniform(g, 0.001, 2000.0), 0});
    for (int i = 0; i < 40000; ++i) a.push_back({Spread(g, -1074, 1023, false), 0});
    for (int i = -3000; i <= 3000; ++i) a.push_back({1.0 + i * 0x1p-52, 0});
    for (double x : {0.0, -0.0, -1.0, kInf, -kInf, kNaN, 0x1p-1074, 0x1.fffffffffffffp1023}) a.push_back({x, 0});
    return a;
}

std::vector<Arg> PowCases()
{
    std::mt19937_64 g(3);
    static const double kLaw[] = {2.5, 3.0, 0.3333, 7.0, 1.7, -0.5, 4.25, -1.5, -2.0, 0.6667};
    std::vector<Arg> a;
    for (int i = 0; i < 40000; ++i) a.push_back({Uniform(g, 1.0, 1500.0), kLaw[g() % 10]});
    for (int i = 0; i < 20000; ++i) a.push_back({Spread(g, -1074, 1023, false), Spread(g, -12, 6, true)});
    for (int i = 0; i < 10000; ++i) a.push_back({Spread(g, -20, 20, true), static_cast<double>(static_cast<int>(g() % 61) - 30)});
    for (double s = 0x1p52 - 300.0; s < 0x1p52 + 300.0; s += 1.0) a.push_back({s, 0.5}), a.push_back({s, -0.5});
    for (double s = 0x1p26 - 300.0; s < 0x1p26 + 300.0; s += 1.0) a.push_back({s * s, 0.5}), a.push_back({s, 2.0});
    for (int e = -1100; e <= 1030; e += 7) a.push_back({0.375, e / 64.0}), a.push_back({2.0, e / 1.0});
    const double special[] = {0.0, -0.0, 1.0, -1.0, 0.5, -2.0, 3.0, kInf, -kInf, kNaN, 0x1p-1074};
    for (double x : special)
        for (double y : {0.0, -0.0, 0.5, -0.5, 2.0, 3.0, -3.0, 2.5, kInf, -kInf, kNaN, 0x1p70}) a.push_back({x, y});
    return a;
}

// The vector forms on x's lanes (with its neighbours, and alone in every
// lane): differences from the scalar function.
long LaneDifferences(bool isPow, const std::vector<Arg>& a)
{
    long bad = 0;
    const auto check = [&](int n, void (*exp)(const double*, double*), void (*pow)(const double*, double, double*)) {
        for (size_t i = 0; i < a.size(); ++i) {
            double in[8], out[8];
            for (int k = 0; k < n; ++k) in[k] = a[(i + k) % a.size()].x;
            const double y = a[i].y;
            if (isPow) pow(in, y, out);
            else exp(in, out);
            for (int k = 0; k < n; ++k) bad += !Same(out[k], isPow ? CrPow(in[k], y) : CrExp(in[k]));
            for (int k = 0; k < n; ++k) in[k] = a[i].x;
            if (isPow) pow(in, y, in);  // in place
            else exp(in, in);
            for (int k = 0; k < n; ++k) bad += !Same(in[k], isPow ? CrPow(a[i].x, y) : CrExp(a[i].x));
        }
    };
#if defined(__wasm_simd128__)  // the forms the 128-bit kernel inlines
    check(2, qvnum::ExpLanes<qvnum::Simd128Lanes, 2>, qvnum::PowLanes<qvnum::Simd128Lanes, 2>);
#elif defined(QV_NUMERICS_AVX)
    if (__builtin_cpu_supports("avx")) check(4, CrExpAvx, CrPowAvx);
    if (__builtin_cpu_supports("avx512f")) check(8, CrExpAvx512, CrPowAvx512);
#endif
    return bad;
}

}  // namespace

int main()
{
    int failed = 0;
    const char* names[] = {"exp", "log", "pow"};
    const std::vector<Arg> cases[] = {ExpCases(), LogCases(), PowCases()};
    for (int f = 0; f < 3; ++f) {
        uint64_t hash = 14695981039346656037ULL;  // FNV-1a over the results' bytes
        long misrounded = 0;
#ifdef QV_CASES_WITH_MPFR
        COracle oracle;
#endif
        for (const Arg& c : cases[f]) {
            const double r = f == 0 ? CrExp(c.x) : f == 1 ? CrLog(c.x) : CrPow(c.x, c.y);
            const uint64_t b = r != r ? 0x7FF8000000000000ULL : Bits(r);
            for (int k = 0; k < 8; ++k) hash = (hash ^ (b >> 8 * k & 0xFF)) * 1099511628211ULL;
#ifdef QV_CASES_WITH_MPFR
            misrounded += !Same(r, oracle(static_cast<Fn>(f), c.x, c.y));
#endif
        }
        const long lanes = f == 1 ? 0 : LaneDifferences(f == 2, cases[f]);
        std::printf("%s %zu %016" PRIx64 "\n", names[f], cases[f].size(), hash);
        if (misrounded != 0 || lanes != 0) {
            std::fprintf(stderr, "%s: %ld misrounded, %ld lane differences\n", names[f], misrounded, lanes);
            failed = 1;
        }
    }
    return failed;
}
