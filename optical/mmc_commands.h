// One function per SCSI command the program sends to a CD or DVD drive.
// Each is true when the request was done (DeviceIoControl returned
// non-zero); the reply buffer of a done command is what the drive wrote,
// read whatever it holds. Buffers are zeroed before the commands that have
// always had them zeroed, so a drive that writes less leaves zeroes.
#pragma once
#include <cstdint>
#include <span>

#include "optical/scsi_commands.h"
#include "platform/device.h"

namespace tw::optical {

bool TestUnitReady(platform::Device& device, platform::HANDLE handle);

// GET CONFIGURATION: the reply header with the current profile.
bool GetConfiguration(platform::Device& device, platform::HANDLE handle,
                      std::span<std::uint8_t, kGetConfigurationReplySize> reply);

// READ DVD STRUCTURE, physical format information; `reply` is zeroed first.
bool ReadDvdPhysicalFormat(platform::Device& device, platform::HANDLE handle,
                           std::span<std::uint8_t, kDvdPhysicalFormatReplySize> reply);

// MODE SENSE(10) of the capabilities page, default values; `reply` is
// zeroed first.
bool ModeSenseCapabilities(platform::Device& device, platform::HANDLE handle,
                           std::span<std::uint8_t, kCapabilitiesReplySize> reply);

// INQUIRY, standard data; `reply` is zeroed first.
bool Inquiry(platform::Device& device, platform::HANDLE handle, std::span<std::uint8_t, kInquiryReplySize> reply);

}  // namespace tw::optical
