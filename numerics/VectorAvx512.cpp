// The eight-lane forms, built with -mavx512f -mfma and -ffp-contract=off.
// Nothing here may instantiate the scalar inline code (see VectorAvx.cpp).
#include "numerics/VectorForms.h"

#ifdef QV_NUMERICS_AVX
#include "numerics/Avx512Lanes.h"
#include "numerics/LaneDriver.h"

void CrExpAvx512(const double* x, double* out) { qvnum::ExpLanes<qvnum::Avx512Lanes, 8>(x, out); }
void CrPowAvx512(const double* x, double y, double* out) { qvnum::PowLanes<qvnum::Avx512Lanes, 8>(x, y, out); }
#endif
