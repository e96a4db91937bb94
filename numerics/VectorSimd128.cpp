// The two-lane forms on WebAssembly's 128-bit vectors (the browser edition is
// built with -msimd128 throughout).
#include "numerics/VectorForms.h"

#ifdef QV_NUMERICS_SIMD128
#include "numerics/LaneDriver.h"
#include "numerics/Simd128Lanes.h"

void CrExpSimd128(const double* x, double* out) { qvnum::ExpLanes<qvnum::Simd128Lanes, 2>(x, out); }
void CrPowSimd128(const double* x, double y, double* out) { qvnum::PowLanes<qvnum::Simd128Lanes, 2>(x, y, out); }
#endif
