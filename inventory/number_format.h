// Number texts of the drive list. Digits come from std::to_chars on the
// extended value (correctly rounded, ties to even, locale-free, the same in
// every build); the user's separators are inserted afterwards.
#pragma once
#include <cstdint>
#include <string>

#include "platform/locale.h"

namespace tw::inventory {

struct NumberSeparators {
    std::string decimal = ".";
    std::string thousand = ",";
};

// The user's separators; "." and "," where the locale gives none.
NumberSeparators ReadSeparators(platform::Locale& locale);

// printf-style "%W.Pf": at least `width` characters, padded with leading spaces.
std::string FormatFixed(long double value, int precision, int width, const NumberSeparators& sep);
// "%0.0n" of a whole number: digits grouped by threes, no decimals.
std::string FormatGrouped(std::uint64_t value, const NumberSeparators& sep);
// "%3.2f GB" above 1073741824 bytes, "%3.2f MB" up to and including it.
std::string SizeText(long double bytes, const NumberSeparators& sep);
// Free bytes as a percentage of the total, in extended arithmetic; 0 for a
// total of 0.
long double PercentFree(std::uint64_t freeBytes, std::uint64_t totalBytes);
// "%8.1f" followed by "%".
std::string PercentText(long double percent, const NumberSeparators& sep);
// High and low 16 bits as four upper-case hexadecimal digits each, joined by " - ".
std::string SerialText(std::uint32_t serial);

}  // namespace tw::inventory
