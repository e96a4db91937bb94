#include "store/LineScan.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/Locale.h"

namespace {
// isspace() of the "C" locale.
bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtol's decimal rules from p: blanks, an optional sign, digits. Sets *pValue
// (limited to the int range) and returns true when at least one digit was read.
bool ScanInt(const char* p, int* pValue)
{
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (*p < '0' || *p > '9') return false;
    // Accumulate the magnitude, stopping to grow once it is past the range;
    // the remaining digits are still part of the number.
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (*p - '0');
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    *pValue = static_cast<int>(value);
    return true;
}
}  // namespace

int QvScanForceType(const CString& line)
{
    int value = 0;
    return ScanInt(line.c_str(), &value) ? value : 0;
}

void QvScanPlanetData(const CString& line, CPlanet& planet)
{
    CCLocaleScope cLocale;
    const char* text = line.c_str();
    int used = -1;
    int at[5] = {-1, -1, -1, -1, -1};
    double* values[5] = {&planet.m_dX, &planet.m_dY, &planet.m_dVx, &planet.m_dVy, &planet.m_dMass};
    // The fixed flag is read by hand: "%d" is undefined for numbers beyond the int range.
    std::sscanf(text, "\t%n%lf\t%n%lf\t%n%lf\t%n%lf\t%n%lf%n", &at[0], values[0], &at[1], values[1], &at[2],
                values[2], &at[3], values[3], &at[4], values[4], &used);
    if (used >= 0) ScanInt(text + used, &planet.m_bFixed);
    // Some C libraries read "-nan" without its sign; the sign is kept as written,
    // so a file is written back the same on every platform.
    for (int i = 0; i < 5; ++i)
        if (at[i] >= 0 && std::isnan(*values[i])) *values[i] = std::copysign(*values[i], text[at[i]] == '-' ? -1.0 : 1.0);
}
