// The capability text: what a drive's capabilities page (MODE SENSE(10)
// page 2Ah) says it can read and write, its buffer and its top speeds, one
// line each, joined by CR LF.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tw::optical {

// The quotient numerator / denominator rounded to the nearest integer,
// halves to the even neighbour. `denominator` is not 0.
std::uint64_t RoundHalfEven(std::uint64_t numerator, std::uint64_t denominator);

// A speed in kilobytes per second as a multiple of the single CD speed,
// 176.46 kB/s, for CD and DVD drives alike, rounded as RoundHalfEven does.
std::uint64_t SpeedMultiple(std::uint16_t kilobytesPerSecond);

// The capability text of a MODE SENSE(10) reply: an 8-byte mode parameter
// header followed directly by the page. Bytes the reply lacks read as 0.
// When "Read CD-R" is not among the lines the text starts with CR LF.
std::string CapabilityText(std::span<const std::uint8_t> reply);

}  // namespace tw::optical
