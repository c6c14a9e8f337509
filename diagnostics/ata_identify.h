// The fields of an ATA identify sector the program shows. Text fields hold
// two characters per 16-bit word, the first in the high byte.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/win_types.h"

namespace tw::diagnostics {

namespace identify {
constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kSerial = 20;  // words 10-19
constexpr std::size_t kSerialLength = 20;
constexpr std::size_t kFirmware = 46;  // words 23-26
constexpr std::size_t kFirmwareLength = 8;
constexpr std::size_t kModel = 54;  // words 27-46
constexpr std::size_t kModelLength = 40;
constexpr std::size_t kWord47 = 94;
constexpr std::size_t kSectors28 = 120;    // words 60-61: 28-bit addressable sectors
constexpr std::size_t kCommandSets = 166;  // word 83: command sets supported
constexpr std::size_t kSectors48 = 200;    // words 100-103: 48-bit addressable sectors
constexpr std::uint16_t kLba48Supported = 1u << 10;
}  // namespace identify
static_assert(identify::kModel + identify::kModelLength == identify::kWord47);
static_assert(identify::kSectors48 + 8 <= identify::kSectorSize);

struct IdentifyData {
    std::string serialNumber;
    std::string firmwareRev;
    std::string modelNumber;
    std::int32_t word47 = 0;
    std::uint64_t sectors = 0;
    std::int64_t sizeBytes = 0;  // sectors x 512
    // An ATAPI device (a CD drive): word 0 says so, or the driver's map did.
    bool packetDevice = false;
};

// The bytes of a text field with each pair swapped, trimmed of characters
// 0 to 32 at both ends.
std::string IdentifyText(std::span<const platform::BYTE> field);
// The serial field swapped, up to its first NUL, untrimmed.
std::string IdentifySerialUntrimmed(std::span<const platform::BYTE> sector);
// The disk's addressable sectors: the 48-bit count of words 100-103 when
// word 83 is valid and says 48-bit addressing is supported, else the 28-bit
// count of words 60-61.
std::uint64_t AddressableSectors(std::span<const platform::BYTE> sector);
// None when `sector` is shorter than 512 bytes.
std::optional<IdentifyData> DecodeIdentify(std::span<const platform::BYTE> sector);

}  // namespace tw::diagnostics
