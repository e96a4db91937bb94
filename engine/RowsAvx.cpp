// The four-lane row kernel, built with -mavx (and nothing more). Nothing here
// may instantiate inline code that the rest of the program shares, which the
// linker could then take from this object for processors without AVX: only
// the lane templates over AvxLanes and the planet views' accessors.
#include "engine/AvxRows.h"

#ifdef QV_EULER_AVX
#include "engine/LaneRows.h"
#include "numerics/AvxLanes.h"

template <class Law, Side side, class B>
void AvxRows::Block(const B& b, int i0, int j0, int j1, double c, double p)
{
    using L = qvnum::AvxLanes;
    LaneRows<L, kN>::Block<Law, side>(b, i0, j0, j1, c, p, [](L::V n, L::V d) { return n / d; });
}

QV_ROWS_BLOCKS(AvxRows)
#endif
