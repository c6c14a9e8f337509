#include "optical/capability_text.h"

#include <array>
#include <string_view>

#include "platform/drive_names.h"

namespace tw::optical {
namespace {

struct CapabilityBit {
    std::size_t replyByte;
    std::uint8_t bit;
    std::string_view line;
};

// In the order the lines appear. Byte 11 bit 3 and bits 6-7 of both bytes
// are not shown.
constexpr std::array<CapabilityBit, 11> kCapabilities{{
    {10, 0, "Read CD-R"},
    {10, 1, "Read CD-RW"},
    {10, 2, "Read Method 2"},
    {10, 3, "Read DVD-ROM"},
    {10, 4, "Read DVD-R / DVD-RW"},
    {10, 5, "Read DVD-RAM"},
    {11, 0, "Write CD-R"},
    {11, 1, "Write CD-RW"},
    {11, 2, "Write Test"},
    {11, 4, "Write DVD-R / DVD-RW"},
    {11, 5, "Write DVD-RAM"},
}};

constexpr std::size_t kMaxReadSpeedOffset = 16;
constexpr std::size_t kBufferSizeOffset = 20;
constexpr std::size_t kMaxWriteSpeedOffset = 26;

// 176.46 kB/s as the exact fraction 8823 / 50: v / 176.46 = v * 50 / 8823.
constexpr std::uint64_t kSpeedNumeratorScale = 50;
constexpr std::uint64_t kSpeedDenominator = 8823;
static_assert(kSpeedDenominator * 100 == 17646 * kSpeedNumeratorScale);

constexpr std::string_view kLineBreak = "\r\n";

std::uint8_t ByteAt(std::span<const std::uint8_t> reply, std::size_t offset) {
    return offset < reply.size() ? reply[offset] : 0;
}

std::uint16_t BigEndian16At(std::span<const std::uint8_t> reply, std::size_t offset) {
    return static_cast<std::uint16_t>((ByteAt(reply, offset) << 8) | ByteAt(reply, offset + 1));
}

}  // namespace

std::uint64_t RoundHalfEven(std::uint64_t numerator, std::uint64_t denominator) {
    const std::uint64_t quotient = numerator / denominator;
    const std::uint64_t remainder = numerator % denominator;
    // Compare the remainder with half the denominator without halving it.
    const std::uint64_t twice = remainder * 2;
    if (twice > denominator) return quotient + 1;
    if (twice == denominator) return quotient + (quotient & 1);
    return quotient;
}

std::uint64_t SpeedMultiple(std::uint16_t kilobytesPerSecond) {
    return RoundHalfEven(std::uint64_t{kilobytesPerSecond} * kSpeedNumeratorScale, kSpeedDenominator);
}

std::string CapabilityText(std::span<const std::uint8_t> reply) {
    std::string text;
    for (std::size_t i = 0; i < kCapabilities.size(); ++i) {
        const CapabilityBit& capability = kCapabilities[i];
        if ((ByteAt(reply, capability.replyByte) >> capability.bit & 1) == 0) continue;
        // Only "Read CD-R" opens the text without a break, so a drive that
        // cannot read CD-R gets an empty first line.
        if (i != 0) text += kLineBreak;
        text += capability.line;
    }
    text += kLineBreak;
    text += "Device Buffer: ";
    text += platform::Decimal(BigEndian16At(reply, kBufferSizeOffset));
    text += "k";
    text += kLineBreak;
    text += "Max Read Speed: ";
    text += platform::Decimal(SpeedMultiple(BigEndian16At(reply, kMaxReadSpeedOffset)));
    text += "x";
    text += kLineBreak;
    text += "Max Write Speed: ";
    text += platform::Decimal(SpeedMultiple(BigEndian16At(reply, kMaxWriteSpeedOffset)));
    text += "x";
    return text;
}

}  // namespace tw::optical
