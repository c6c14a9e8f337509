// ATA commands wrapped for a SCSI/ATA translation layer (a USB bridge): the
// ATA PASS-THROUGH (16) and (12) command blocks, and what a bridge's sense
// data says of them: the disk's registers, or that the bridge does not know
// the wrapper at all.
#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "diagnostics/ata_commands.h"

namespace tw::diagnostics {

constexpr platform::BYTE kSatPassThrough16 = 0x85;
constexpr platform::BYTE kSatPassThrough12 = 0xA1;

// Protocols of byte 1, bits 4-1.
constexpr platform::BYTE kSatNonData = 3;
constexpr platform::BYTE kSatPioDataIn = 4;
// Byte 2.
constexpr platform::BYTE kSatCheckCondition = 0x20;  // CK_COND: return the registers
constexpr platform::BYTE kSatToDevice = 0x00;
constexpr platform::BYTE kSatFromDevice = 0x08;     // T_DIR
constexpr platform::BYTE kSatBlocks = 0x04;         // BYT_BLOK: T_LENGTH counts 512-byte blocks
constexpr platform::BYTE kSatLengthInCount = 0x02;  // T_LENGTH: the sector count field

// A data-in command moves one block, its length in the sector count; a
// non-data command asks for its registers back.
std::array<platform::BYTE, 16> SatCdb16(const AtaCommand& command);
std::array<platform::BYTE, 12> SatCdb12(const AtaCommand& command);

// Sense keys and codes the health read tells apart.
constexpr platform::BYTE kSenseRecoveredError = 0x01;
constexpr platform::BYTE kSenseIllegalRequest = 0x05;
constexpr platform::BYTE kSenseAbortedCommand = 0x0B;
constexpr platform::BYTE kAscInvalidOpcode = 0x20;
constexpr platform::BYTE kAscInvalidField = 0x24;
constexpr platform::BYTE kAscqAtaInformation = 0x1D;  // with ASC 00h
constexpr platform::BYTE kDescriptorAtaReturn = 0x09;

struct SenseReading {
    platform::BYTE key = 0;
    platform::BYTE asc = 0;
    platform::BYTE ascq = 0;
    // The ATA registers, from an ATA Status Return descriptor (descriptor
    // format) or the information fields (fixed format).
    std::optional<AtaReturn> registers;
    bool operator==(const SenseReading&) const = default;
};

// None when `sense` holds no response code the decoder knows (70h-73h) or
// is too short for its key; the registers are read only where the stated
// lengths and the bytes both hold them.
std::optional<SenseReading> DecodeSense(std::span<const platform::BYTE> sense);

// The bridge did not take the wrapper: an illegal request naming the
// operation code or a field of the command block.
bool BridgeRefused(const SenseReading& sense);

}  // namespace tw::diagnostics
