#include "store/Planet.h"

#include <cmath>

int SpriteOffsetForMass(double dMass)
{
    // Clamp before converting, so that no mass can overflow the integer.
    if (!(dMass >= 2.0)) return 0;  // below 2, or not a number
    if (dMass >= 10.0) return 360;
    int n = static_cast<int>(std::trunc(dMass));
    return 40 * n - 40;
}
