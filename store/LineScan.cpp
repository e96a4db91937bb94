#include "store/LineScan.h"

#include <climits>
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
    // The fixed flag is read by hand: "%d" is undefined for numbers beyond the int range.
    std::sscanf(text, "\t%lf\t%lf\t%lf\t%lf\t%lf%n", &planet.m_dX, &planet.m_dY, &planet.m_dVx, &planet.m_dVy,
                &planet.m_dMass, &used);
    if (used >= 0) ScanInt(text + used, &planet.m_bFixed);
}
