#include "app/smart_summaries.h"

#include "platform/drive_names.h"

namespace tw {

using platform::Decimal;

namespace {

// The temperature attributes, the most trusted first.
constexpr int kTemperatureIds[] = {194, 190, 231};
constexpr int kRawBytes = 6;

}  // namespace

Tone TemperatureTone(int celsius) {
    if (celsius >= kHotCelsius) return Tone::Bad;
    if (celsius >= kWarmCelsius) return Tone::Caution;
    return Tone::Plain;
}

std::optional<int> TemperatureCelsius(const diagnostics::TSmartResult& result) {
    for (int id : kTemperatureIds) {
        for (int k = 0; k < result.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
            if (result.Attr[k].AttrId == id) return static_cast<int>(result.Attr[k].AttrRaw & 0xFF);
        }
    }
    return std::nullopt;
}

std::string CelsiusText(int celsius) {
    return Decimal(celsius) +
           " \xC2\xB0"
           "C";
}

std::string PowerOnText(std::int64_t hours) {
    const std::int64_t days = hours / 24;
    return Decimal(hours) + (hours == 1 ? " hour (" : " hours (") + Decimal(days) + (days == 1 ? " day)" : " days)");
}

std::string RawHex(std::int64_t raw) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int byte = kRawBytes - 1; byte >= 0; --byte) {
        const auto value = static_cast<unsigned>((static_cast<std::uint64_t>(raw) >> (8 * byte)) & 0xFF);
        if (!text.empty()) text += ' ';
        text += kDigits[value >> 4];
        text += kDigits[value & 0xF];
    }
    return text;
}

}  // namespace tw
