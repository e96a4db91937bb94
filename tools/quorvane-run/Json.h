// JSON output shared by the subcommands of quorvane-run.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "platform/CString.h"
#include "store/Planet.h"

// A number that reads back to the same double; "nan", "inf" or "-inf" (as
// strings) when it is not finite, since JSON has no such numbers.
nlohmann::json QvJsonNumber(double d);

// A CSV number: 17 significant digits in the "C" locale, so that it reads back
// to the same double; "nan", "inf" or "-inf" when it is not finite.
std::string QvCsvNumber(double d);

// A stored text (bytes) as it is shown on screen: UTF-8 when the bytes are
// valid UTF-8, else Windows-1252.
nlohmann::json QvJsonText(const CString& bytes);

// The compact text of a JSON value; numbers are locale-independent and keep
// every digit that round trip needs.
std::string QvJsonDump(const nlohmann::json& value);

// A planet's name, position and velocity, in that order; the caller adds the rest.
nlohmann::ordered_json QvJsonPlanet(const CPlanet& planet);
std::string QvJsonDump(const nlohmann::ordered_json& value);

// Standard output in large pieces: a system may hold millions of planets. A
// write error ends the command with exit status 1.
class CJsonOutput {
public:
    void Add(const std::string& text);
    void Finish();

private:
    void Flush();
    std::string m_buffer;
};
