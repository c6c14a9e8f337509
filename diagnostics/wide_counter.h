// The 128-bit counters of NVMe logs and identify data, kept exactly: two
// 64-bit halves (i686 has no 128-bit integer) and decimal text of our own,
// also for a counter times a unit (data units of 512,000 bytes), which can
// pass 128 bits.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/win_types.h"

namespace tw::diagnostics {

struct Counter128 {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const Counter128&) const = default;
};

// Sixteen little-endian bytes at `at`; `bytes` must hold them.
Counter128 ReadCounter128(std::span<const platform::BYTE> bytes, std::size_t at);

// "340282366920938463463374607431768211455" for the largest counter.
std::string CounterDecimal(const Counter128& counter);
// The exact product counter x multiplier, in decimal.
std::string CounterTimesDecimal(const Counter128& counter, std::uint32_t multiplier);

}  // namespace tw::diagnostics
