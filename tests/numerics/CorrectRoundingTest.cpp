// exp, log and pow against MPFR: random arguments over the engine's ranges
// and the whole domain, special values, pow's exact cases and midpoints, and
// arguments close to midpoints.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <vector>

#include "numerics/Accurate.h"
#include "numerics/CorrectlyRounded.h"
#include "numerics/FastExp.h"
#include "numerics/FastLog.h"
#include "numerics/FastPowInt.h"
#include "numerics/PowExact.h"
#include "numerics/Rounding.h"
#include "numerics/ScalarLanes.h"
#include "numerics/LaneCheck.h"
#include "numerics/Oracle.h"
#include "numerics/FusedScalarLanes.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity(), kNaN = std::numeric_limits<double>::quiet_NaN();

double Ours(Fn f, double x, double y) { return f == Fn::Exp ? CrExp(x) : f == Fn::Log ? CrLog(x) : CrPow(x, y); }

// Checks f on n arguments from draw(g, x, y); returns the misrounded count,
// and the vector forms' differences from the scalar function.
template <class Draw>
long Misrounded(Fn f, long n, Draw draw)
{
    COracle oracle;
    CLaneCheck lanes;
    long lanesBad = 0;
    std::mt19937_64 g(static_cast<unsigned>(f) * 7919 + static_cast<unsigned>(n));
    long bad = 0;
    for (long i = 0; i < n; ++i) {
        double x, y = 0.0;
        draw(g, i, x, y);
        const double ours = Ours(f, x, y), exact = oracle(f, x, y);
        lanesBad += lanes.Check(f, x, y);
        if (!SameBits(ours, exact) && bad++ < 5)
            ADD_FAILURE() << std::hexfloat << "f" << static_cast<int>(f) << "(" << x << ", " << y << ") = " << ours
                          << ", rounded " << exact;
    }
    EXPECT_EQ(0, lanesBad);
    return bad;
}

double Uniform(std::mt19937_64& g, double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g); }

TEST(CorrectRounding, ExpOfRandomArguments)
{
    const long n = RandomCount();
    EXPECT_EQ(0, Misrounded(Fn::Exp, n, [](std::mt19937_64& g, long i, double& x, double&) {
                  if (i % 3 == 0)
                      x = Uniform(g, 0.0, 1500.0) * Uniform(g, -0.3, 0.02);  // r·k of the exponential law
                  else if (i % 3 == 1)
                      x = Uniform(g, -746.0, 710.0);
                  else
                      x = Spread(g, -60.0, 9.5, true);
              })) << n;
}

TEST(CorrectRounding, LogOfRandomArguments)
{
    const long n = RandomCount();
    EXPECT_EQ(0, Misrounded(Fn::Log, n, [](std::mt19937_64& g, long i, double& x, double&) {
                  if (i % 3 == 0)
                      x = Uniform(g, 0.001, 2000.0);  // distances of the energies
                  else if (i % 3 == 1)
                      x = 1.0 + Spread(g, -60.0, -3.0, true);  // near 1
                  else
                      x = Spread(g, -1074.0, 1024.0, false);
              })) << n;
}

TEST(CorrectRounding, PowOfRandomArguments)
{
    const long n = RandomCount();
    static const double kLaw[] = {2.5, 3.0, 0.3333, 7.0, 1.7, -0.5, 4.25, -1.5, -2.0, 0.6667, 0.5, 63.5};
    EXPECT_EQ(0, Misrounded(Fn::Pow, n, [](std::mt19937_64& g, long i, double& x, double& y) {
                  if (i % 3 == 0) {
                      x = Uniform(g, 1.0, 1500.0), y = kLaw[g() % 12];  // r^n of the inverse power law, r^(1−n)
                  } else if (i % 3 == 1) {
                      x = Spread(g, -1074.0, 1024.0, false), y = Spread(g, -12.0, 6.0, true);
                  } else {
                      x = Spread(g, -20.0, 20.0, true), y = Spread(g, -30.0, 10.0, true);
                      if (x < 0.0) y = static_cast<double>(static_cast<long>(y));  // negative bases: integers
                  }
              })) << n;
}

TEST(CorrectRounding, SpecialValues)
{
    struct Case {
        Fn f;
        double x, y, expected;
    };
    const double tiny = 0x1p-1074, huge = 0x1.fffffffffffffp1023;
    const Case cases[] = {
        {Fn::Exp, 0.0, 0, 1.0}, {Fn::Exp, -0.0, 0, 1.0}, {Fn::Exp, kInf, 0, kInf}, {Fn::Exp, -kInf, 0, 0.0},
        {Fn::Exp, kNaN, 0, kNaN}, {Fn::Exp, 709.8, 0, kInf}, {Fn::Exp, -745.2, 0, 0.0},
        {Fn::Exp, -745.1, 0, tiny}, {Fn::Exp, 0x1p-60, 0, 1.0}, {Fn::Exp, -0x1p-60, 0, 1.0},
        {Fn::Log, 1.0, 0, 0.0}, {Fn::Log, 0.0, 0, -kInf}, {Fn::Log, -0.0, 0, -kInf}, {Fn::Log, kInf, 0, kInf},
        {Fn::Log, -1.0, 0, kNaN}, {Fn::Log, -kInf, 0, kNaN}, {Fn::Log, kNaN, 0, kNaN},
        {Fn::Log, tiny, 0, -0x1.74385446d71c3p+9}, {Fn::Log, huge, 0, 0x1.62e42fefa39efp+9},
        {Fn::Pow, kNaN, 0.0, 1.0}, {Fn::Pow, 1.0, kNaN, 1.0}, {Fn::Pow, kNaN, 1.0, kNaN}, {Fn::Pow, 2.0, kNaN, kNaN},
        {Fn::Pow, -1.0, kInf, 1.0}, {Fn::Pow, -1.0, -kInf, 1.0}, {Fn::Pow, 0.5, kInf, 0.0},
        {Fn::Pow, 0.5, -kInf, kInf}, {Fn::Pow, -2.0, kInf, kInf}, {Fn::Pow, 2.0, -kInf, 0.0},
        {Fn::Pow, 0.0, -3.0, kInf}, {Fn::Pow, -0.0, -3.0, -kInf}, {Fn::Pow, -0.0, -2.0, kInf},
        {Fn::Pow, -0.0, -0.5, kInf}, {Fn::Pow, -0.0, 3.0, -0.0}, {Fn::Pow, -0.0, 2.0, 0.0},
        {Fn::Pow, -0.0, 0.5, 0.0}, {Fn::Pow, -kInf, 3.0, -kInf}, {Fn::Pow, -kInf, 2.0, kInf},
        {Fn::Pow, -kInf, -3.0, -0.0}, {Fn::Pow, -kInf, -2.5, 0.0}, {Fn::Pow, kInf, -1.0, 0.0},
        {Fn::Pow, kInf, 0.1, kInf}, {Fn::Pow, -2.0, 0.5, kNaN}, {Fn::Pow, -2.0, 3.0, -8.0},
        {Fn::Pow, -2.0, -3.0, -0.125}, {Fn::Pow, -2.0, 0x1p70, kInf}, {Fn::Pow, -0.5, 0x1p70, 0.0},
        {Fn::Pow, 2.0, 1024.0, kInf}, {Fn::Pow, 2.0, -1074.0, tiny}, {Fn::Pow, 2.0, -1076.0, 0.0},
        {Fn::Pow, 10.0, 308.5, kInf}, {Fn::Pow, 1.0 + 0x1p-52, 0x1p62, kInf}, {Fn::Pow, -1.0, 5.0, -1.0},
        {Fn::Pow, -1.0, 0x1p53 + 2.0, 1.0}, {Fn::Pow, 3.0, -0.0, 1.0},
    };
    COracle oracle;
    CLaneCheck lanes;
    for (const Case& c : cases) {
        EXPECT_EQ(0, lanes.CheckAlone(c.f, c.x, c.y)) << std::hexfloat << c.x << " " << c.y;
        const double ours = Ours(c.f, c.x, c.y);
        EXPECT_TRUE(SameBits(ours, c.expected)) << std::hexfloat << static_cast<int>(c.f) << " " << c.x << " " << c.y
                                                << ": " << ours;
        if (c.f != Fn::Pow) {
            EXPECT_TRUE(SameBits(ours, oracle(c.f, c.x))) << std::hexfloat << c.x;
        }
    }
}

// Results that are doubles or midpoints, at every scale, and their neighbours.
TEST(CorrectRounding, PowExactResultsAndMidpoints)
{
    struct Case {
        double x, y, expected;
    };
    const double w = 0x1p27 - 1.0;  // w² = 2^54 − 2^28 + 1: 54 bits, a midpoint
    const Case cases[] = {
        {3.0, 2.0, 9.0}, {w, 2.0, 0x1p54 - 0x1p28}, {3.0, 33.0, 5559060566555523.0}, {w + 2.0, 2.0, 0x1p54 + 0x1p28},
        {w * w, 0.5, w}, {9.0, 1.5, 27.0}, {0x1p-20 * 81.0, 0.25, 3.0 * 0x1p-5}, {3.0, 34.0, 16677181699666568.0}, {0.25, -1.5, 8.0}, {0x1p-215 * 3.0, 5.0, 122.0 * 0x1p-1074},
        {0x1p-215 * 7.0, 5.0, 8404.0 * 0x1p-1074}, {0x1p-215, 5.0, 0.0}, {0x1p-43, 25.0, 0.0},
        {2.0, -1075.0, 0.0}, {0.5, 1074.0, 0x1p-1074}, {2.0, 1023.0, 0x1p1023}, {4.0, 511.5, 0x1p1023},
        {-3.0, 3.0, -27.0}, {-w, 2.0, 0x1p54 - 0x1p28},
    };
    COracle oracle;
    for (const Case& c : cases) {
        EXPECT_TRUE(SameBits(CrPow(c.x, c.y), c.expected)) << std::hexfloat << c.x << " " << c.y << ": "
                                                           << CrPow(c.x, c.y);
        EXPECT_TRUE(SameBits(CrPow(c.x, c.y), oracle(Fn::Pow, c.x, c.y))) << std::hexfloat << c.x << " " << c.y;
    }
    // Integers around perfect squares under 1/2, squares of 54 bits, and powers of 3/8 near exact ones.
    CLaneCheck lanes;
    long bad = 0, lanesBad = 0;
    const auto check = [&](double x, double y) {
        bad += !SameBits(CrPow(x, y), oracle(Fn::Pow, x, y));
        lanesBad += lanes.CheckAlone(Fn::Pow, x, y);
    };
    const double step = 2 * kSanitizerThinning - 1;  // odd: both parities
    for (double s = 0x1p26 - 5000.0; s < 0x1p26 + 5000.0; s += step)
        for (double x : {s * s, s * s + 1.0, s * s - 1.0}) check(x, 0.5);
    for (double s = 0x1p27 - 5000.0; s < 0x1p27; s += step) check(s, 2.0), check(s, -2.0);  // odd s: s² a midpoint
    for (int e = -1100; e <= 1030; ++e)
        for (double y : {0.5, 1.0, 2.0, 3.0, 1.5, -1.0, 0.25, 0.125}) check(0x1p-3 * 3.0, y * e / 64.0);
    EXPECT_EQ(0, bad);
    EXPECT_EQ(0, lanesBad);
    // The exactness test alone, as the accurate path asks it: x^y is W·2^E or not.
    double out;
    EXPECT_TRUE(qvnum::PowExact(0.25, -1.5, out) && out == 8.0);
    EXPECT_TRUE(qvnum::PowExact(9.0, 1.5, out) && out == 27.0);
    EXPECT_TRUE(qvnum::PowExact(w, 2.0, out) && out == 0x1p54 - 0x1p28);  // a midpoint, to even
    EXPECT_TRUE(qvnum::PowExact(0x1p-215 * 7.0, 5.0, out) && out == 8404.0 * 0x1p-1074);
    for (const auto& xy : std::initializer_list<std::pair<double, double>>{{3.0, -2.0}, {9.0, -0.5}, {2.0, 0.5}, {12.0, 0.5}, {3.0, 35.0}, {3.0, 0x1p-6}})
        EXPECT_FALSE(qvnum::PowExact(xy.first, xy.second, out)) << xy.first << " " << xy.second;
}

// Arguments whose results lie close to a midpoint: built ones (exp near ±2^-53,
// log near 1, √(2^52 + 1) and kin, the midpoints w^5 = (w²)^2.5 and
// w³ = (w²)^1.5 of odd w), and those the fast paths' rounding test
// rejects in a scan. Each is checked against MPFR.
TEST(CorrectRounding, HardToRoundArguments)
{
    COracle oracle;
    std::vector<std::pair<double, double>> exps, logs, pows;
    for (double b : {0x1p-53, -0x1p-53, 0x1p-54, -0x1p-54, 0x1p-52, -0x1p-52})
        for (int i = -200; i <= 200; ++i) exps.push_back({b * (1.0 + i * 0x1p-52), 0.0});
    for (int i = -3000; i <= 3000; ++i) logs.push_back({1.0 + i * 0x1p-52, 0.0});
    for (double s = 0x1p52 - 300.0; s < 0x1p52 + 300.0; s += 1.0) pows.push_back({s, 0.5}), pows.push_back({s, -0.5});
    for (double w = 1553.0; w < 1783.0; w += 2.0) pows.push_back({w * w * 0x1p-14, 2.5});
    for (double w = 208065.0; w < 208265.0; w += 2.0) pows.push_back({w * w, 1.5});
    std::mt19937_64 g(25);
    long scanned = 0;
    while (scanned < 3000000) {
        ++scanned;
        const double x = Uniform(g, -700.0, 700.0), lx = Spread(g, -1000.0, 1000.0, false);
        bool ok = true;
        qvnum::ExpFast<qvnum::ScalarLanes>(x, 0.0, 0.0, ok);
        if (!ok) exps.push_back({x, 0.0});
        double err;
        const auto v = qvnum::LogFast<qvnum::ScalarLanes>(lx, err);
        if (v.h + (v.l - err) != v.h + (v.l + err)) logs.push_back({lx, 0.0});
        if (scanned % 4 == 0) {
            const double px = Uniform(g, 1.0, 1000.0), py = Uniform(g, -8.0, 8.0);
            const auto lg = qvnum::LogFast<qvnum::ScalarLanes>(px, err);
            const auto t = qvnum::TwoProd(py, lg.h);
            ok = true;
            qvnum::ExpFast<qvnum::ScalarLanes>(t.h, t.l + py * lg.l, std::abs(py) * err + std::abs(t.h) * 0x1p-99, ok);
            if (!ok) pows.push_back({px, py});
        }
    }
    long bad = 0, lanesBad = 0;
    CLaneCheck lanes;
    for (const auto& a : exps) bad += !SameBits(CrExp(a.first), oracle(Fn::Exp, a.first)), lanesBad += lanes.Check(Fn::Exp, a.first, 0);
    for (const auto& a : pows) lanesBad += lanes.Check(Fn::Pow, a.first, a.second);
    EXPECT_EQ(0, lanesBad);
    for (const auto& a : logs) bad += !SameBits(CrLog(a.first), oracle(Fn::Log, a.first));
    for (const auto& a : pows) bad += !SameBits(CrPow(a.first, a.second), oracle(Fn::Pow, a.first, a.second));
    EXPECT_EQ(0, bad) << exps.size() << " " << logs.size() << " " << pows.size();
}

// The error bounds the rounding tests rely on, measured: the fast paths'
// double-doubles (with and without fused multiply-adds, and the powers by squaring)
// and the accurate paths' triples against MPFR at 300 bits.
TEST(CorrectRounding, ErrorsStayWithinTheirBounds)
{
    COracle oracle;
    std::mt19937_64 g(7);
    double exp = 0, logNear = 0, logFar = 0, expTriple = 0, logTriple = 0, expFused = 0, logFused = 0, whole = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = Uniform(g, -600.0, 708.0);  // above −600, the scaled low parts stay normal
        double scale;
        const auto e = qvnum::ExpFastPair<qvnum::ScalarLanes>(x, 0.0, scale);
        exp = std::max(exp, oracle.RelativeError(Fn::Exp, x, 0.0, e.h * scale, e.l * scale));
        const auto ef = qvnum::ExpFusedPair<FusedScalarLanes>(x, -0.0, scale);
        expFused = std::max(expFused, oracle.RelativeError(Fn::Exp, x, 0.0, FusedScalarLanes::ScaleB(ef.h, scale),
                                                           FusedScalarLanes::ScaleB(ef.l, scale)));
        const double lx = i % 2 ? 1.0 + Spread(g, -60.0, -9.0, true) : Spread(g, -1000.0, 1000.0, false);
        double err;
        const auto v = qvnum::LogFast<qvnum::ScalarLanes>(lx, err);
        const double rel = oracle.RelativeError(Fn::Log, lx, 0.0, v.h, v.l);
        if (i % 2)
            logNear = std::max(logNear, rel / qvnum::kLogFastErrorNearOne);
        else
            logFar = std::max(logFar, rel * std::abs(v.h) / qvnum::kLogFastError);
        const auto vf = qvnum::LogFused<FusedScalarLanes>(lx, err);
        logFused = std::max(logFused, oracle.RelativeError(Fn::Log, lx, 0.0, vf.h, vf.l) * std::abs(vf.h) / err);
        static const int kTwice[] = {128, 6, 14, 5, 127};
        const int twice = kTwice[i % 5];
        const double px = twice > 100 ? Uniform(g, 0.002, 1000.0) : Uniform(g, 1.0, 1500.0);
        const auto w = qvnum::PowHalvesPair<qvnum::ScalarLanes>(px, twice);
        whole = std::max(whole, oracle.RelativeError(Fn::Pow, px, twice / 2.0, w.h, w.l));
        if (i % 20 == 0) {
            const qvnum::Triple t = qvnum::LogTriple(lx);
            logTriple = std::max(logTriple, oracle.RelativeError(Fn::Log, lx, 0.0, t.h, t.m, t.l));
            int k;
            const qvnum::Triple u = qvnum::ExpTripleValue({x, 0.0, 0.0}, k);
            const double s = qvnum::Scale(1.0, k);
            expTriple = std::max(expTriple, oracle.RelativeError(Fn::Exp, x, 0.0, u.h * s, u.m * s, u.l * s));
        }
    }
    std::printf("measured/bound: exp %g (fused %g), log near 1 %g, log %g (fused %g), powers by squaring %g; accurate exp %a, log %a\n",
                exp / qvnum::kExpFastError, expFused / qvnum::kExpFusedError, logNear, logFar, logFused,
                whole / qvnum::kPowIntError, expTriple, logTriple);
    EXPECT_LT(exp, qvnum::kExpFastError);
    EXPECT_LT(expFused, qvnum::kExpFusedError);
    EXPECT_LT(logNear, 1.0);
    EXPECT_LT(logFar, 1.0);
    EXPECT_LT(logFused, 1.0);
    EXPECT_LT(whole, qvnum::kPowIntError);
    EXPECT_LT(expTriple, qvnum::kAccurateError);
    EXPECT_LT(logTriple, qvnum::kAccurateError);
}

}  // namespace
