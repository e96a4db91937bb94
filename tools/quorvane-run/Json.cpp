#include "tools/quorvane-run/Json.h"

#include <cmath>

#include "platform/Text.h"

nlohmann::json QvJsonNumber(double d)
{
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    // nlohmann's serialiser writes the shortest text that reads back to the
    // same double, with "." whatever the locale.
    return d;
}

nlohmann::json QvJsonText(const CString& bytes)
{
    QByteArray utf8 = QvDisplayText(bytes).toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

std::string QvJsonDump(const nlohmann::json& value)
{
    // Display texts are always valid UTF-8; replace rather than throw anyway.
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
