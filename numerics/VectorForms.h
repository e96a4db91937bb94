// exp and pow on several lanes at once: each lane runs the scalar fast path's
// operations, and the lanes its rounding test rejects (or special arguments)
// take CrExp and CrPow. Every lane is the scalar function's double.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QV_NUMERICS_AVX 1
// Four lanes; only on processors with AVX (and AVX-512F with FMA for eight).
void CrExpAvx(const double* x, double* out);
void CrPowAvx(const double* x, double y, double* out);
void CrExpAvx512(const double* x, double* out);
void CrPowAvx512(const double* x, double y, double* out);
#endif

