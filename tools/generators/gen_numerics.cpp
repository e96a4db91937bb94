// Writes the tables of the correctly rounded exp, log and pow (numerics/) from
// MPFR at 400 bits: values as sums of three doubles (each the rest of the
// value rounded to nearest), and the constants the argument reductions split
// into parts short enough that a product by the reduction's integer is exact.
//
// Usage: gen_numerics [output.cpp]   (default numerics/Tables.cpp)
#include <mpfr.h>

#include <cstdio>
#include <cstring>

#include "numerics/Tables.h"

namespace {

constexpr mpfr_prec_t kPrec = 400;

// x as h + m + l, each the rest rounded to nearest.
void Triple(FILE* f, const mpfr_t x)
{
    mpfr_t r;
    mpfr_init2(r, kPrec);
    mpfr_set(r, x, MPFR_RNDN);
    std::fputs("{", f);
    for (int i = 0; i < 3; ++i) {
        const double d = mpfr_get_d(r, MPFR_RNDN);
        mpfr_sub_d(r, r, d, MPFR_RNDN);
        std::fprintf(f, "%s%a", i ? ", " : "", d);
    }
    std::fputs("}", f);
    mpfr_clear(r);
}

// x in n parts, the first n − 1 of `bits` significant bits, the last rounded to a double.
void Parts(FILE* f, const char* name, const mpfr_t x, int n, int bits)
{
    mpfr_t r, p;
    mpfr_inits2(kPrec, r, p, static_cast<mpfr_ptr>(nullptr));
    mpfr_set(r, x, MPFR_RNDN);
    std::fprintf(f, "const double %s[%d] = {", name, n);
    for (int i = 0; i < n; ++i) {
        mpfr_set(p, r, MPFR_RNDN);
        if (i < n - 1) mpfr_prec_round(p, bits, MPFR_RNDN);
        const double d = mpfr_get_d(p, MPFR_RNDN);
        mpfr_sub_d(r, r, d, MPFR_RNDN);
        std::fprintf(f, "%s%a", i ? ", " : "", d);
    }
    std::fputs("};\n", f);
    mpfr_clears(r, p, static_cast<mpfr_ptr>(nullptr));
}

// A table of n triples, entry i set into x by value(i, x).
template <class F>
void Triples(FILE* f, const char* head, int n, mpfr_t x, F value)
{
    std::fputs(head, f);
    for (int i = 0; i < n; ++i) {
        value(i, x);
        std::fputs("    ", f);
        Triple(f, x);
        std::fputs(",\n", f);
    }
    std::fputs("};\n", f);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "numerics/Tables.cpp";
    FILE* f = std::fopen(path, "w");
    if (f == nullptr) {
        std::perror(path);
        return 1;
    }
    mpfr_t x, y;
    mpfr_inits2(kPrec, x, y, static_cast<mpfr_ptr>(nullptr));
    std::fputs("// Made by tools/generators/gen_numerics from MPFR at 400 bits; run it again\n"
               "// instead of editing this file.\n"
               "#include \"numerics/Tables.h\"\n\nnamespace qvnum {\n\n",
               f);

    Triples(f, "// 2^(j/128) for j = 0..127.\nconst double kExp2[128][3] = {\n", 128, x, [](int j, mpfr_t v) {
        mpfr_set_si(v, j, MPFR_RNDN);
        mpfr_div_2ui(v, v, 7, MPFR_RNDN);
        mpfr_exp2(v, v, MPFR_RNDN);
    });
    std::fputs("\n", f);

    // The same values for exp's tables held in registers (AVX-512): 2^(a/8) and
    // 2^(b/128), b < 16, the high parts in the first row, the rest rounded in the second.
    const auto split = [&](const char* name, int n, int step) {
        double part[2][16];
        for (int i = 0; i < n; ++i) {
            mpfr_set_si(x, i * step, MPFR_RNDN);
            mpfr_div_2ui(x, x, 7, MPFR_RNDN);
            mpfr_exp2(x, x, MPFR_RNDN);
            part[0][i] = mpfr_get_d(x, MPFR_RNDN);
            mpfr_sub_d(x, x, part[0][i], MPFR_RNDN);
            part[1][i] = mpfr_get_d(x, MPFR_RNDN);
        }
        std::fprintf(f, "alignas(64) const double %s[2][%d] = {\n", name, n);
        for (int row = 0; row < 2; ++row) {
            std::fputs("    {", f);
            for (int i = 0; i < n; ++i) std::fprintf(f, "%s%a", i ? ", " : "", part[row][i]);
            std::fputs("},\n", f);
        }
        std::fputs("};\n", f);
    };
    split("kExp2Coarse", 8, 16);
    split("kExp2Fine", 16, 1);
    std::fputs("\n", f);

    // And for the fast path without fused operations: the high part of 26
    // significant bits, so that its products by the halves of a split double
    // are exact; the rest rounded to a double.
    std::fputs("// 2^(j/128) as a high part of 26 bits and the rest.\nconst double kExp2Short[128][2] = {\n", f);
    for (int j = 0; j < 128; ++j) {
        mpfr_t h;
        mpfr_init2(h, 26);
        mpfr_set_si(x, j, MPFR_RNDN);
        mpfr_div_2ui(x, x, 7, MPFR_RNDN);
        mpfr_exp2(x, x, MPFR_RNDN);
        mpfr_set(h, x, MPFR_RNDN);
        const double hi = mpfr_get_d(h, MPFR_RNDN);
        mpfr_sub_d(x, x, hi, MPFR_RNDN);
        std::fprintf(f, "    {%a, %a},\n", hi, mpfr_get_d(x, MPFR_RNDN));
        mpfr_clear(h);
    }
    std::fputs("};\n\n", f);

    // Interval i holds the significands whose bits, less kLogOffset, start with
    // i; its centre c is at kLogOffset + (i + 1/2)·2^45 in the bits. Interval 74
    // holds 1 and takes r = 1, so that log x near 1 is log1p(x − 1) alone.
    std::fputs("// r ≈ 1/c for the significand's interval i, and −log r.\nconst double kLogR[128] = {\n", f);
    double r[128];
    for (int i = 0; i < 128; ++i) {
        unsigned long long bits = qvnum::kLogOffset + (static_cast<unsigned long long>(2 * i + 1) << 44);
        double c;
        std::memcpy(&c, &bits, sizeof c);
        r[i] = i == qvnum::kLogOne ? 1.0 : 1.0 / c;
        std::fprintf(f, "    %a,\n", r[i]);
    }
    Triples(f, "};\nconst double kLogMinusLogR[128][3] = {\n", 128, x, [&r](int i, mpfr_t v) {
        mpfr_set_d(v, r[i], MPFR_RNDN);
        mpfr_log(v, v, MPFR_RNDN);
        mpfr_neg(v, v, MPFR_RNDN);
    });
    std::fputs("\n", f);

    std::fputs("// log 2, in parts whose products by an exponent (11 bits) are exact but the last.\n", f);
    mpfr_const_log2(x, MPFR_RNDN);
    Parts(f, "kLn2", x, 4, 42);
    std::fputs("// log(2)/128, in parts whose products by k (18 bits) are exact but the last.\n", f);
    mpfr_div_2ui(y, x, 7, MPFR_RNDN);
    Parts(f, "kLn2By128", y, 5, 35);
    std::fputs("// log(2)/128 rounded, and the rest rounded: for reductions by a fused multiply-add.\n", f);
    Parts(f, "kLn2By128Fused", y, 2, 53);
    mpfr_ui_div(y, 128, x, MPFR_RNDN);
    std::fprintf(f, "const double k128ByLn2 = %a;\n\n", mpfr_get_d(y, MPFR_RNDN));

    mpfr_set_ui(y, 1, MPFR_RNDN);
    Triples(f, "// 1/n! and 1/n for n = 0..20.\nconst double kInvFactorial[21][3] = {\n", 21, x, [&y](int n, mpfr_t v) {
        if (n > 0) mpfr_mul_ui(y, y, n, MPFR_RNDN);
        mpfr_ui_div(v, 1, y, MPFR_RNDN);
    });
    Triples(f, "const double kInverse[21][3] = {\n", 21, x, [](int n, mpfr_t v) {
        mpfr_set_ui(v, n == 0 ? 1 : n, MPFR_RNDN);
        mpfr_ui_div(v, 1, v, MPFR_RNDN);
    });
    std::fputs("\n}  // namespace qvnum\n", f);
    mpfr_clears(x, y, static_cast<mpfr_ptr>(nullptr));
    return std::fclose(f) == 0 ? 0 : 1;
}
