#include "platform/Locale.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {
locale_t CLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}
}  // namespace

void QvFixNumericLocale()
{
    std::setlocale(LC_NUMERIC, "C");
}

CCLocaleScope::CCLocaleScope() : m_previous(uselocale(CLocale())) {}

CCLocaleScope::~CCLocaleScope()
{
    uselocale(static_cast<locale_t>(m_previous));
}

double QvAtof(const char* psz)
{
    return strtod_l(psz ? psz : "", nullptr, CLocale());
}

bool QvParseFieldNumber(const std::string& text, double& value)
{
    const char* p = text.c_str();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    while (blank(*p)) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    while (digit(*p)) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (digit(*p)) ++p, ++digits;
    }
    if (digits == 0) return false;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (digit(*q)) {
            while (digit(*q)) ++q;
            p = q;
        }
    }
    std::string number(start, static_cast<size_t>(p - start));
    while (blank(*p)) ++p;
    // Embedded NUL characters end the C string early: they are not a number either.
    if (*p != '\0' || p != text.c_str() + text.size()) return false;
    double d = QvAtof(number.c_str());
    if (!std::isfinite(d)) return false;
    value = d;
    return true;
}
