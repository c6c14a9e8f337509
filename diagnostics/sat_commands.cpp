#include "diagnostics/sat_commands.h"

namespace tw::diagnostics {

using platform::BYTE;

namespace {

BYTE Protocol(const AtaCommand& c) { return static_cast<BYTE>((c.dataIn ? kSatPioDataIn : kSatNonData) << 1); }

BYTE Flags(const AtaCommand& c) {
    return c.dataIn ? static_cast<BYTE>(kSatFromDevice | kSatBlocks | kSatLengthInCount) : kSatCheckCondition;
}

// Fixed format: the information field (bytes 3-6) holds error, status,
// device and count; the command-specific field (bytes 8-11) ends with LBA
// high, mid and low.
std::optional<AtaReturn> FixedRegisters(std::span<const BYTE> s) {
    constexpr std::size_t kAdditionalLength = 7, kEnd = 12;
    if (s.size() < kEnd || s[kAdditionalLength] + std::size_t{8} < kEnd) return std::nullopt;
    AtaReturn r;
    r.error = s[3];
    r.status = s[4];
    r.device = s[5];
    r.sectorCount = s[6];
    r.lbaHigh = s[9];
    r.lbaMid = s[10];
    r.lbaLow = s[11];
    return r;
}

// Descriptor format: walk the descriptors after the 8-byte head for an ATA
// Status Return descriptor (09h, 12 bytes after its own head).
std::optional<AtaReturn> DescriptorRegisters(std::span<const BYTE> s) {
    constexpr std::size_t kHead = 8, kAtaLength = 0x0C;
    const std::size_t end = std::min(s.size(), kHead + s[7]);
    for (std::size_t at = kHead; at + 2 <= end;) {
        const std::size_t length = s[at + 1];
        if (at + 2 + length > end) break;
        if (s[at] == kDescriptorAtaReturn && length >= kAtaLength) {
            const auto d = s.subspan(at);
            AtaReturn r;
            r.error = d[3];
            r.sectorCount = d[5];
            r.lbaLow = d[7];
            r.lbaMid = d[9];
            r.lbaHigh = d[11];
            r.device = d[12];
            r.status = d[13];
            return r;
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::array<BYTE, 16> SatCdb16(const AtaCommand& c) {
    // The extended (48-bit) halves in bytes 3, 5, 7, 9 and 11 stay zero.
    return {kSatPassThrough16, Protocol(c), Flags(c), 0, c.features, 0,        c.sectorCount, 0,
            c.lbaLow,          0,           c.lbaMid, 0, c.lbaHigh,  c.device, c.command,     0};
}

std::array<BYTE, 12> SatCdb12(const AtaCommand& c) {
    return {kSatPassThrough12, Protocol(c), Flags(c), c.features, c.sectorCount, c.lbaLow, c.lbaMid, c.lbaHigh,
            c.device,          c.command,   0,        0};
}

std::optional<SenseReading> DecodeSense(std::span<const BYTE> s) {
    if (s.empty()) return std::nullopt;
    const BYTE code = s[0] & 0x7F;
    SenseReading r;
    if (code == 0x70 || code == 0x71) {
        if (s.size() < 14) {
            if (s.size() < 3) return std::nullopt;
            r.key = s[2] & 0x0F;
            return r;
        }
        r.key = s[2] & 0x0F;
        r.asc = s[12];
        r.ascq = s[13];
        // Only "ATA pass-through information available" puts registers there.
        if (r.asc == 0x00 && r.ascq == kAscqAtaInformation) r.registers = FixedRegisters(s);
        return r;
    }
    if (code == 0x72 || code == 0x73) {
        if (s.size() < 8) return std::nullopt;
        r.key = s[1] & 0x0F;
        r.asc = s[2];
        r.ascq = s[3];
        r.registers = DescriptorRegisters(s);
        return r;
    }
    return std::nullopt;
}

bool BridgeRefused(const SenseReading& s) {
    return s.key == kSenseIllegalRequest && (s.asc == kAscInvalidOpcode || s.asc == kAscInvalidField);
}

}  // namespace tw::diagnostics
