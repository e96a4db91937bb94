// The row kernels of eight and sixteen lanes, built with -mavx512f -mfma.
// Nothing here may instantiate inline code that the rest of the program
// shares (see RowsAvx.cpp).
#include "engine/Avx512Rows.h"

#ifdef QV_EULER_AVX
#include "engine/LaneRows.h"
#include "numerics/Avx512Lanes.h"
#include "numerics/TwinLanes.h"

namespace {

using Lanes = qvnum::Avx512Lanes;
using Twin = qvnum::TwinLanes<Lanes, 8>;

// n/d: the multiply-add units' quotient where it is proven, else the divider's.
Lanes::V Divide(Lanes::V n, Lanes::V d)
{
    __mmask8 ok = 0xFF;
    const Lanes::V q = Avx512Quotient::Quotient(n.v, d.v, ok);
    return ok == 0xFF ? q : n / d;
}
Twin::V Divide(Twin::V n, Twin::V d) { return {Divide(n.a, d.a), Divide(n.b, d.b)}; }

// Under exp the divider has room (F takes none) and the multiply-add units none.
template <class Law, class V>
V DivideX(V n, V d)
{
    if constexpr (std::is_same_v<Law, Exponential>)
        return n / d;
    else
        return Divide(n, d);
}

}  // namespace

template <int T>
template <class Law, Side side, class B>
void Avx512RowsOf<T>::Block(const B& b, int i0, int j0, int j1, double c, double p)
{
    using L = std::conditional_t<T == 1, Lanes, Twin>;
    LaneRows<L, kN>::template Block<Law, side>(b, i0, j0, j1, c, p, [](typename L::V n, typename L::V d) { return DivideX<Law>(n, d); });
}

template <int T>
template <class Law, class B>
void Avx512RowsOf<T>::Inside(const B& b, int i0, double c, double p)
{
    LaneRows<Lanes, 8>::Inside<Law>(b, i0, c, p, [](Lanes::V n, Lanes::V d) { return DivideX<Law>(n, d); });
}

QV_ROWS_INSIDE(Avx512RowsOf<1>)
QV_ROWS_BLOCKS(Avx512RowsOf<1>)
QV_ROWS_BLOCKS(Avx512RowsOf<2>)
#endif
