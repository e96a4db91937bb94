#include "platform/Locale.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

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
