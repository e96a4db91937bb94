#include "tools/quorvane-run/Json.h"

#include <cmath>
#include <cstdio>
#include <iostream>

#include <CLI/CLI.hpp>

#include "platform/Text.h"

nlohmann::json QvJsonNumber(double d)
{
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    // nlohmann's serialiser writes the shortest text that reads back to the
    // same double, with "." whatever the locale.
    return d;
}

std::string QvCsvNumber(double d)
{
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    CString s;
    s.Format("%.17g", d);
    return s.str();
}

nlohmann::json QvJsonText(const CString& bytes)
{
    return QvDisplayUtf8(bytes);
}

std::string QvJsonDump(const nlohmann::json& value)
{
    // Display texts are always valid UTF-8; replace rather than throw anyway.
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string QvJsonDump(const nlohmann::ordered_json& value)
{
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json QvJsonPlanet(const CPlanet& planet)
{
    nlohmann::ordered_json j;
    j["name"] = QvJsonText(planet.m_strName);
    j["x"] = QvJsonNumber(planet.m_dX);
    j["y"] = QvJsonNumber(planet.m_dY);
    j["vx"] = QvJsonNumber(planet.m_dVx);
    j["vy"] = QvJsonNumber(planet.m_dVy);
    return j;
}

void CJsonOutput::Add(const std::string& text)
{
    m_buffer += text;
    if (m_buffer.size() >= 65536) Flush();
}

void CJsonOutput::Flush()
{
    if (!m_buffer.empty()) std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
    m_buffer.clear();
}

void CJsonOutput::Finish()
{
    Flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::cerr << "Errore di scrittura dell'uscita" << std::endl;
        throw CLI::RuntimeError(1);
    }
}
