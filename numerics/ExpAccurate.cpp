#include "numerics/Accurate.h"
#include "numerics/Rounding.h"
#include "numerics/ScalarLanes.h"
#include "numerics/Tables.h"

namespace qvnum {

// As the fast path: t = k·log(2)/128 + r with log(2)/128 in five parts (the
// first four times k exact), e^r to r^14/14! (the rest below 2^-167), times
// 2^(j/128) from the table, scaled by 2^(k − j)/128.
Triple ExpTripleValue(const Triple& t, int& scale)
{
    const double magic = 0x1.8p52, tk = t.h * k128ByLn2 + magic, kd = tk - magic;
    const int64_t k = static_cast<int64_t>(ScalarLanes::Bits(tk) - ScalarLanes::Bits(magic));
    const int j = static_cast<int>(k & 127);
    scale = static_cast<int>((k - j) / 128);

    const Pair<double> p = TwoProd(kd, -kLn2By128[4]);
    double terms[8] = {t.h - kd * kLn2By128[0], kd * -kLn2By128[1], t.m, kd * -kLn2By128[2], t.l,
                       kd * -kLn2By128[3], p.h, p.l};
    const Triple r = Renorm(terms, 8);
    Triple q = FromTable(kInvFactorial[14]);
    for (int n = 13; n >= 0; --n) q = Add(Mul(q, r), FromTable(kInvFactorial[n]));
    return Mul(FromTable(kExp2[j]), q);
}

bool ExpTriple(const Triple& t, double& out)
{
    int scale;
    const Triple v = ExpTripleValue(t, scale);
    return RoundScaled(v.h, v.m, v.l, v.h * kAccurateError, scale, out);
}

}  // namespace qvnum
