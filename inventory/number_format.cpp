#include "inventory/number_format.h"

#include <array>
#include <charconv>

#include "inventory/extended_math.h"
#include "platform/drive_names.h"

namespace tw::inventory {

using namespace tw::platform;

namespace {

std::string LocaleText(Locale& locale, LCTYPE type, const char* fallback) {
    std::array<char, 16> buffer{};
    int n = locale.GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 1) return fallback;
    return std::string(buffer.data());
}

}  // namespace

NumberSeparators ReadSeparators(Locale& locale) {
    NumberSeparators sep;
    sep.decimal = LocaleText(locale, LOCALE_SDECIMAL, ".");
    sep.thousand = LocaleText(locale, LOCALE_STHOUSAND, ",");
    return sep;
}

std::string FormatFixed(long double value, int precision, int width, const NumberSeparators& sep) {
    std::array<char, 400> buffer{};
    auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, precision);
    std::string digits = ec == std::errc() ? std::string(buffer.data(), end) : std::string("NAN");
    if (auto dot = digits.find('.'); dot != std::string::npos) digits.replace(dot, 1, sep.decimal);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), ' ');
    return digits;
}

std::string FormatGrouped(std::uint64_t value, const NumberSeparators& sep) {
    const std::string digits = Decimal(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += sep.thousand;
        out += digits[i];
    }
    return out;
}

std::string SizeText(long double bytes, const NumberSeparators& sep) {
    constexpr long double kGiB = 1073741824.0L;
    const long double mb = ExtendedDiv(ExtendedDiv(bytes, 1024), 1024);
    if (bytes > kGiB) return FormatFixed(ExtendedDiv(mb, 1024), 2, 3, sep) + " GB";
    return FormatFixed(mb, 2, 3, sep) + " MB";
}

long double PercentFree(std::uint64_t freeBytes, std::uint64_t totalBytes) {
    if (totalBytes == 0) return 0;
    return ExtendedMul(ExtendedDiv(static_cast<long double>(freeBytes), static_cast<long double>(totalBytes)), 100);
}

std::string PercentText(long double percent, const NumberSeparators& sep) {
    return FormatFixed(percent, 1, 8, sep) + "%";
}

std::string SerialText(std::uint32_t serial) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    auto four = [&](std::uint32_t v) {
        for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(v >> shift) & 0xF];
    };
    four(serial >> 16);
    out += " - ";
    four(serial & 0xFFFF);
    return out;
}

}  // namespace tw::inventory
