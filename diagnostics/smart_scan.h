// The attribute and threshold sectors of a S.M.A.R.T. disk, and how the
// program rates each attribute against its threshold.
#pragma once
#include <cstddef>
#include <span>
#include <string>

#include "diagnostics/smart_result.h"
#include "platform/win_types.h"

namespace tw::diagnostics {

namespace smart_sector {
constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kEntries = 2;  // after the 2-byte revision
constexpr std::size_t kEntrySize = 12;
// An attribute entry.
constexpr std::size_t kId = 0;
constexpr std::size_t kFlags = 1;  // 16-bit
constexpr std::size_t kCurrent = 3;
constexpr std::size_t kWorst = 4;
constexpr std::size_t kRaw = 5;  // 6 bytes
constexpr std::size_t kRawLength = 6;
// A threshold entry.
constexpr std::size_t kThreshold = 1;
// Flag bits.
constexpr unsigned kPreFailure = 0x0001;
constexpr unsigned kErrorRate = 0x0008;
constexpr unsigned kEventCount = 0x0010;
}  // namespace smart_sector
static_assert(smart_sector::kEntries + kAttributeEntries * smart_sector::kEntrySize <= smart_sector::kSectorSize);
static_assert(smart_sector::kRaw + smart_sector::kRawLength < smart_sector::kEntrySize);

// "Reallocated Sector Count" for 5; "Unknown" for an id the program does not name.
std::string AttributeName(int id);

// Fills the attribute slots, their count, the failing and warning counts and
// the summaries (temperature, power-on, power cycles, reallocated sectors) of
// `result` from the two sectors; entry k of the thresholds belongs to entry
// k of the attributes. False, and `result` untouched, when either sector is
// shorter than 512 bytes.
bool ScanAttributes(std::span<const platform::BYTE> attributes, std::span<const platform::BYTE> thresholds,
                    TSmartResult& result);

}  // namespace tw::diagnostics
