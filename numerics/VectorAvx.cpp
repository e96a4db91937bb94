// The four-lane forms, built with -mavx (and nothing more: no FMA). Nothing
// here may instantiate the scalar inline code, which the linker could then
// take from this object for processors without AVX.
#include "numerics/VectorForms.h"

#ifdef QV_NUMERICS_AVX
#include "numerics/AvxLanes.h"
#include "numerics/LaneDriver.h"

void CrExpAvx(const double* x, double* out) { qvnum::ExpLanes<qvnum::AvxLanes, 4>(x, out); }
void CrPowAvx(const double* x, double y, double* out) { qvnum::PowLanes<qvnum::AvxLanes, 4>(x, y, out); }
#endif
