#include "diagnostics/ata_identify.h"

#include "platform/byte_fields.h"

namespace tw::diagnostics {

using platform::BYTE;

namespace {

constexpr auto LittleEndian = platform::GetLittleEndian;

std::string Swapped(std::span<const BYTE> field) {
    std::string text(field.size(), '\0');
    for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
        text[i] = static_cast<char>(field[i + 1]);
        text[i + 1] = static_cast<char>(field[i]);
    }
    if (field.size() % 2) text.back() = static_cast<char>(field.back());
    return text;
}

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string IdentifyText(std::span<const BYTE> field) {
    std::string text = Swapped(field);
    std::size_t first = 0;
    while (first < text.size() && Blank(text[first])) ++first;
    std::size_t last = text.size();
    while (last > first && Blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string IdentifySerialUntrimmed(std::span<const BYTE> sector) {
    if (sector.size() < identify::kSerial + identify::kSerialLength) return {};
    std::string text = Swapped(sector.subspan(identify::kSerial, identify::kSerialLength));
    return text.substr(0, text.find('\0'));
}

std::uint64_t AddressableSectors(std::span<const BYTE> sector) {
    if (sector.size() < identify::kSectorSize) return 0;
    const auto word83 = static_cast<std::uint16_t>(LittleEndian(sector, identify::kCommandSets, 2));
    // Word 83 means something only with bit 14 set and bit 15 clear; a
    // count beyond what 48 bits address is not a count.
    const bool valid = (word83 & 0xC000) == 0x4000;
    if (valid && (word83 & identify::kLba48Supported)) {
        const std::uint64_t sectors48 = LittleEndian(sector, identify::kSectors48, 8);
        if (sectors48 != 0 && sectors48 < (std::uint64_t{1} << 48)) return sectors48;
    }
    return LittleEndian(sector, identify::kSectors28, 4);
}

std::optional<IdentifyData> DecodeIdentify(std::span<const BYTE> sector) {
    if (sector.size() < identify::kSectorSize) return std::nullopt;
    IdentifyData d;
    d.serialNumber = IdentifyText(sector.subspan(identify::kSerial, identify::kSerialLength));
    d.firmwareRev = IdentifyText(sector.subspan(identify::kFirmware, identify::kFirmwareLength));
    d.modelNumber = IdentifyText(sector.subspan(identify::kModel, identify::kModelLength));
    d.word47 = static_cast<std::int32_t>(LittleEndian(sector, identify::kWord47, 2));
    // Word 0 bits 15:14 are 10b for a packet (ATAPI) device.
    d.packetDevice = (LittleEndian(sector, 0, 2) & 0xC000) == 0x8000;
    d.sectors = AddressableSectors(sector);
    d.sizeBytes = static_cast<std::int64_t>(d.sectors * 512);
    return d;
}

}  // namespace tw::diagnostics
