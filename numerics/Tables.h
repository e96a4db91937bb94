// The tables of exp, log and pow, written by tools/generators/gen_numerics.
#pragma once

#include <cstdint>

namespace qvnum {

// log: the significand's bits less kLogOffset pick one of 128 intervals of
// 2^45 units each; interval kLogOne straddles 1.
constexpr uint64_t kLogOffset = 0x3FE6B00000000000ULL;
constexpr int kLogOne = 74;

extern const double kExp2[128][3];
// 2^(a/8) and 2^(b/128) for b < 16, as rows of high and low parts, 64-byte aligned.
extern const double kExp2Coarse[2][8];
extern const double kExp2Fine[2][16];
// 2^(j/128) as a high part of 26 significant bits and the rest (2^-80).
extern const double kExp2Short[128][2];
extern const double kLogR[128];
extern const double kLogMinusLogR[128][3];
extern const double kLn2[4];
extern const double kLn2By128[5];
extern const double kLn2By128Fused[2];
extern const double k128ByLn2;
extern const double kInvFactorial[21][3];
extern const double kInverse[21][3];

}  // namespace qvnum
