// The SMART window's texts for what a disk reports: its temperature in
// degrees Celsius with the colour it deserves, its power-on time in hours and
// days, and an attribute's raw value as the bytes it is made of.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "app/component.h"
#include "diagnostics/smart_result.h"

namespace tw {

// A disk this warm is worth a look; this hot, it needs cooling now.
inline constexpr int kWarmCelsius = 50;
inline constexpr int kHotCelsius = 60;

Tone TemperatureTone(int celsius);

// From attribute 194, else 190 (airflow), else 231: the low byte of the
// raw value, which disks pack with their lowest and highest reading.
std::optional<int> TemperatureCelsius(const diagnostics::TSmartResult& result);
// "37 °C" (UTF-8).
std::string CelsiusText(int celsius);

// "9120 hours (380 days)".
std::string PowerOnText(std::int64_t hours);

// The six raw bytes, the highest first: "00 33 00 00 2D 25".
std::string RawHex(std::int64_t raw);

}  // namespace tw
