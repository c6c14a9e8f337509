// Reports as JSON. Every report command builds one ordered object (keys in
// the order its text output names them; byte counts as exact integers) and
// prints it here, so all of them read the same way.
#pragma once
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

namespace tw::reports {

using JsonReport = nlohmann::ordered_json;

// Two-space indents and a final line break. Texts come from the system in
// its code page; bytes that are not UTF-8 become U+FFFD.
// The text as a string: the window's programs save it without linking the
// standard streams.
std::string JsonText(const JsonReport& report);
inline void PrintJson(const JsonReport& report, std::ostream& out) { out << JsonText(report); }

// Null for what the text form leaves empty.
inline JsonReport TextOrNull(const std::string& text) { return text.empty() ? JsonReport(nullptr) : JsonReport(text); }
template <typename Number>
JsonReport NumberOrNull(const std::optional<Number>& n) {
    return n ? JsonReport(*n) : JsonReport(nullptr);
}

}  // namespace tw::reports
