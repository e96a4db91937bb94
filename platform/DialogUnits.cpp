#include "platform/DialogUnits.h"

QvDialogBaseUnits QvBaseUnitsOf(int lettersWidth, int height)
{
    QvDialogBaseUnits units{(lettersWidth / 26 + 1) / 2, height};
    if (units.cx < 1) units.cx = 1;
    if (units.cy < 1) units.cy = 1;
    return units;
}

int QvMulDiv(int a, int b, int c)
{
    // The division truncates towards zero: half a divisor more on the product's side.
    const long long p = static_cast<long long>(a) * b;
    return static_cast<int>((p + (p >= 0 ? c / 2 : -(c / 2))) / c);
}

QvPixelRect QvMapDialogRect(int x, int y, int cx, int cy, const QvDialogBaseUnits& units)
{
    return {QvMulDiv(x, units.cx, 4), QvMulDiv(y, units.cy, 8), QvMulDiv(cx, units.cx, 4), QvMulDiv(cy, units.cy, 8)};
}
