// JSON output shared by the subcommands of quorvane-run.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "platform/CString.h"

// A number that reads back to the same double; "nan", "inf" or "-inf" (as
// strings) when it is not finite, since JSON has no such numbers.
nlohmann::json QvJsonNumber(double d);

// A stored text (bytes) as it is shown on screen: UTF-8 when the bytes are
// valid UTF-8, else Windows-1252.
nlohmann::json QvJsonText(const CString& bytes);

// The compact text of a JSON value; numbers are locale-independent and keep
// every digit that round trip needs.
std::string QvJsonDump(const nlohmann::json& value);
