// The SCSI Multimedia Commands the program sends, one builder per command, as
// the command block and the record fields that go with it. The lengths,
// time-outs and sense sizes are the ones drives have always been sent by
// this program; they are pinned below so a change is deliberate.
#pragma once
#include <array>
#include <cstdint>

namespace tw::optical {

// One command as the pass-through request carries it. Multi-byte CDB fields
// are big-endian, as MMC defines them; bytes a command does not name are 0.
struct ScsiCommand {
    std::array<std::uint8_t, 16> cdb{};
    std::uint8_t cdbLength = 0;
    std::uint8_t senseInfoLength = 0;
    std::uint32_t dataTransferLength = 0;  // bytes; 0: no data moves
    std::uint32_t timeOutValue = 0;        // seconds
};

// Operation codes.
constexpr std::uint8_t kOpTestUnitReady = 0x00;
constexpr std::uint8_t kOpInquiry = 0x12;
constexpr std::uint8_t kOpGetConfiguration = 0x46;
constexpr std::uint8_t kOpModeSense10 = 0x5A;
constexpr std::uint8_t kOpReadDvdStructure = 0xAD;

// Reply sizes the commands ask for (their allocation lengths).
constexpr std::uint32_t kGetConfigurationReplySize = 114;
constexpr std::uint32_t kDvdPhysicalFormatReplySize = 21;
constexpr std::uint32_t kCapabilitiesReplySize = 440;
constexpr std::uint32_t kInquiryReplySize = 100;

// Every command but INQUIRY may wait for a drive spinning up.
constexpr std::uint32_t kLongTimeOutSeconds = 120;
constexpr std::uint32_t kInquiryTimeOutSeconds = 2;

constexpr ScsiCommand TestUnitReadyCommand() {
    ScsiCommand c;
    c.cdb[0] = kOpTestUnitReady;
    c.cdbLength = 6;
    c.senseInfoLength = 32;
    c.dataTransferLength = 0;
    c.timeOutValue = kLongTimeOutSeconds;
    return c;
}

// RT 2: the starting feature (0, the profile list) only; the reply header
// carries the current profile.
constexpr ScsiCommand GetConfigurationCommand() {
    ScsiCommand c;
    c.cdb[0] = kOpGetConfiguration;
    c.cdb[1] = 0x02;
    c.cdb[2] = 0x00;
    c.cdb[3] = 0x00;
    c.cdb[7] = static_cast<std::uint8_t>(kGetConfigurationReplySize >> 8);
    c.cdb[8] = static_cast<std::uint8_t>(kGetConfigurationReplySize & 0xFF);
    c.cdbLength = 10;
    c.senseInfoLength = 32;
    c.dataTransferLength = kGetConfigurationReplySize;
    c.timeOutValue = kLongTimeOutSeconds;
    return c;
}

// Format 0 (physical format information), address 0, layer 0. Drives have
// always been sent this command with a CDB length of 10, and accept it.
constexpr ScsiCommand ReadDvdStructureCommand() {
    ScsiCommand c;
    c.cdb[0] = kOpReadDvdStructure;
    c.cdb[7] = 0x00;
    c.cdb[8] = static_cast<std::uint8_t>(kDvdPhysicalFormatReplySize >> 8);
    c.cdb[9] = static_cast<std::uint8_t>(kDvdPhysicalFormatReplySize & 0xFF);
    c.cdbLength = 10;
    c.senseInfoLength = 32;
    c.dataTransferLength = kDvdPhysicalFormatReplySize;
    c.timeOutValue = kLongTimeOutSeconds;
    return c;
}

// Page control 2 (default values), page code 2Ah (capabilities and
// mechanical status).
constexpr ScsiCommand ModeSenseCapabilitiesCommand() {
    ScsiCommand c;
    c.cdb[0] = kOpModeSense10;
    c.cdb[2] = 0xAA;
    c.cdb[7] = static_cast<std::uint8_t>(kCapabilitiesReplySize >> 8);
    c.cdb[8] = static_cast<std::uint8_t>(kCapabilitiesReplySize & 0xFF);
    c.cdbLength = 10;
    c.senseInfoLength = 14;
    c.dataTransferLength = kCapabilitiesReplySize;
    c.timeOutValue = kLongTimeOutSeconds;
    return c;
}

// Standard inquiry data; a short time-out, as it runs for every drive of a
// refresh.
constexpr ScsiCommand InquiryCommand() {
    ScsiCommand c;
    c.cdb[0] = kOpInquiry;
    c.cdb[4] = static_cast<std::uint8_t>(kInquiryReplySize);
    c.cdbLength = 6;
    c.senseInfoLength = 24;
    c.dataTransferLength = kInquiryReplySize;
    c.timeOutValue = kInquiryTimeOutSeconds;
    return c;
}

static_assert(TestUnitReadyCommand().cdbLength == 6 && TestUnitReadyCommand().senseInfoLength == 32 &&
              TestUnitReadyCommand().dataTransferLength == 0 && TestUnitReadyCommand().timeOutValue == 120);
static_assert(GetConfigurationCommand().cdbLength == 10 && GetConfigurationCommand().senseInfoLength == 32 &&
              GetConfigurationCommand().dataTransferLength == 114 && GetConfigurationCommand().timeOutValue == 120 &&
              GetConfigurationCommand().cdb[7] == 0x00 && GetConfigurationCommand().cdb[8] == 0x72);
static_assert(ReadDvdStructureCommand().cdbLength == 10 && ReadDvdStructureCommand().senseInfoLength == 32 &&
              ReadDvdStructureCommand().dataTransferLength == 21 && ReadDvdStructureCommand().timeOutValue == 120 &&
              ReadDvdStructureCommand().cdb[8] == 0x00 && ReadDvdStructureCommand().cdb[9] == 0x15);
static_assert(ModeSenseCapabilitiesCommand().cdbLength == 10 && ModeSenseCapabilitiesCommand().senseInfoLength == 14 &&
              ModeSenseCapabilitiesCommand().dataTransferLength == 440 &&
              ModeSenseCapabilitiesCommand().timeOutValue == 120 && ModeSenseCapabilitiesCommand().cdb[7] == 0x01 &&
              ModeSenseCapabilitiesCommand().cdb[8] == 0xB8);
static_assert(InquiryCommand().cdbLength == 6 && InquiryCommand().senseInfoLength == 24 &&
              InquiryCommand().dataTransferLength == 100 && InquiryCommand().timeOutValue == 2 &&
              InquiryCommand().cdb[4] == 0x64);

}  // namespace tw::optical
