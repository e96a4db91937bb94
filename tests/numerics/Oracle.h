// MPFR as the oracle: f(x) or x^y rounded to nearest into a double, with the
// double's subnormals and overflow; and the draws of the random arguments.
#pragma once

#include <mpfr.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

enum class Fn { Exp, Log, Pow };

class COracle {
public:
    COracle()
    {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        mpfr_inits2(53, m_x, m_y, m_r, static_cast<mpfr_ptr>(nullptr));
        mpfr_init2(m_wide, 300);
    }
    ~COracle() { mpfr_clears(m_x, m_y, m_r, m_wide, static_cast<mpfr_ptr>(nullptr)); }

    double operator()(Fn f, double x, double y = 0.0)
    {
        mpfr_set_d(m_x, x, MPFR_RNDN);
        mpfr_set_d(m_y, y, MPFR_RNDN);
        int t = f == Fn::Exp ? mpfr_exp(m_r, m_x, MPFR_RNDN)
                : f == Fn::Log ? mpfr_log(m_r, m_x, MPFR_RNDN)
                               : mpfr_pow(m_r, m_x, m_y, MPFR_RNDN);
        t = mpfr_subnormalize(m_r, t, MPFR_RNDN);
        return mpfr_get_d(m_r, MPFR_RNDN);
    }

    // |(h + m + l) − exact| / |exact| for f(x) or x^y, as a double.
    double RelativeError(Fn f, double x, double y, double h, double m, double l = 0.0)
    {
        mpfr_t v, e;
        mpfr_inits2(300, v, e, static_cast<mpfr_ptr>(nullptr));
        mpfr_set_d(v, x, MPFR_RNDN);
        mpfr_set_d(e, y, MPFR_RNDN);
        if (f == Fn::Exp) mpfr_exp(m_wide, v, MPFR_RNDN);
        if (f == Fn::Log) mpfr_log(m_wide, v, MPFR_RNDN);
        if (f == Fn::Pow) mpfr_pow(m_wide, v, e, MPFR_RNDN);
        mpfr_set_d(v, h, MPFR_RNDN);
        mpfr_add_d(v, v, m, MPFR_RNDN);
        mpfr_add_d(v, v, l, MPFR_RNDN);
        mpfr_sub(v, v, m_wide, MPFR_RNDN);
        mpfr_div(v, v, m_wide, MPFR_RNDN);
        const double d = std::abs(mpfr_get_d(v, MPFR_RNDN));
        mpfr_clears(v, e, static_cast<mpfr_ptr>(nullptr));
        return d;
    }

private:
    mpfr_t m_x, m_y, m_r, m_wide;
};

inline bool SameBits(double a, double b)
{
    uint64_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y || (a != a && b != b);
}

// Under the sanitizers the tests take a tenth of their arguments.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerThinning = 10;
#else
constexpr int kSanitizerThinning = 1;
#endif

// Arguments per function in the random tests: QV_NUMERICS_COUNT when set (the
// long run), else 10^6 (thinned under the sanitizers).
inline long RandomCount()
{
    if (const char* s = std::getenv("QV_NUMERICS_COUNT")) return std::atol(s);
    return 1000000 / kSanitizerThinning;
}

// Magnitudes spread evenly in the exponent from 2^lo to 2^hi (-1074 <= lo <
// hi <= 1024), random significands, both signs if asked.
inline double Spread(std::mt19937_64& g, double lo, double hi, bool signs)
{
    const double e = lo + (hi - lo) * std::uniform_real_distribution<double>(0.0, 1.0)(g);
    int n = static_cast<int>(e);
    if (n > e) --n;
    uint64_t bits = g() & 0xFFFFFFFFFFFFFULL;
    if (n >= -1022)
        bits |= static_cast<uint64_t>(n + 1023) << 52;
    else
        bits = (bits | 1ULL << 52) >> (-1022 - n);  // subnormal
    if (signs && (g() & 1)) bits |= 1ULL << 63;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
