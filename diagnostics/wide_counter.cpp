#include "diagnostics/wide_counter.h"

#include <algorithm>
#include <array>

#include "platform/byte_fields.h"

namespace tw::diagnostics {

namespace {

// Little-endian 32-bit limbs: 128 bits and room for a 32-bit multiplier.
using Limbs = std::array<std::uint32_t, 5>;

Limbs ToLimbs(const Counter128& c) {
    return {static_cast<std::uint32_t>(c.low), static_cast<std::uint32_t>(c.low >> 32),
            static_cast<std::uint32_t>(c.high), static_cast<std::uint32_t>(c.high >> 32), 0};
}

std::string Decimal(Limbs limbs) {
    std::string digits;
    while (std::any_of(limbs.begin(), limbs.end(), [](std::uint32_t l) { return l != 0; })) {
        // Divide by 10^9 from the top limb down; the remainder is nine digits.
        std::uint64_t remainder = 0;
        for (std::size_t i = limbs.size(); i-- > 0;) {
            const std::uint64_t part = (remainder << 32) | limbs[i];
            limbs[i] = static_cast<std::uint32_t>(part / 1000000000u);
            remainder = part % 1000000000u;
        }
        for (int d = 0; d < 9; ++d, remainder /= 10) digits.push_back(static_cast<char>('0' + remainder % 10));
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits.empty()) digits = "0";
    return std::string(digits.rbegin(), digits.rend());
}

}  // namespace

Counter128 ReadCounter128(std::span<const platform::BYTE> bytes, std::size_t at) {
    return {platform::GetLittleEndian(bytes, at, 8), platform::GetLittleEndian(bytes, at + 8, 8)};
}

std::string CounterDecimal(const Counter128& counter) { return Decimal(ToLimbs(counter)); }

std::string CounterTimesDecimal(const Counter128& counter, std::uint32_t multiplier) {
    Limbs limbs = ToLimbs(counter);
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs) {
        const std::uint64_t product = std::uint64_t{limb} * multiplier + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    return Decimal(limbs);
}

}  // namespace tw::diagnostics
