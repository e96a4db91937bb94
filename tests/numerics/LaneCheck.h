// Every vector form the processor runs against the scalar function lane by
// lane: on every eighth argument with the seven before it in the other lanes
// (each argument once, at every lane position in turn), or on one argument
// in all lanes.
#pragma once

#include "numerics/CorrectlyRounded.h"
#include "numerics/Oracle.h"
#include "numerics/VectorForms.h"

class CLaneCheck {
public:
    // Differences for f on x (pow: x^y with the lanes' bases).
    long Check(Fn f, double x, double y)
    {
        m_ring[m_n++ % 8] = x;
        return m_n % 8 == 0 ? Compare(f, y) : 0;
    }
    long CheckAlone(Fn f, double x, double y)
    {
        for (double& v : m_ring) v = x;
        return Compare(f, y);
    }

private:
    long Compare(Fn f, double y)
    {
        long bad = 0;
#ifdef QV_NUMERICS_AVX
        if (m_avx) bad += Compare(f, y, 4, f == Fn::Pow ? CrPowAvx : nullptr, f == Fn::Exp ? CrExpAvx : nullptr);
        if (m_avx512)
            bad += Compare(f, y, 8, f == Fn::Pow ? CrPowAvx512 : nullptr, f == Fn::Exp ? CrExpAvx512 : nullptr);
#endif
        return bad;
    }

    long Compare(Fn f, double y, int n, void (*pow)(const double*, double, double*), void (*exp)(const double*, double*))
    {
        if (f == Fn::Log) return 0;  // log has no vector form: the kernels need none
        double out[8], same[8];
        long bad = 0;
        for (int at = 0; at < 8; at += n) {
            std::memcpy(same, m_ring + at, sizeof same / 8 * n);
            if (pow) pow(m_ring + at, y, out), pow(same, y, same);  // also in place
            if (exp) exp(m_ring + at, out), exp(same, same);
            for (int i = 0; i < n; ++i) {
                const double want = f == Fn::Exp ? CrExp(m_ring[at + i]) : CrPow(m_ring[at + i], y);
                bad += !SameBits(out[i], want) + !SameBits(same[i], want);
            }
        }
        return bad;
    }

    double m_ring[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    unsigned m_n = 0;
#ifdef QV_NUMERICS_AVX
    bool m_avx = __builtin_cpu_supports("avx"), m_avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
#endif
};
