#include "optical/mmc_commands.h"

#include <algorithm>

#include "optical/scsi_pass_through.h"

namespace tw::optical {

bool TestUnitReady(platform::Device& device, platform::HANDLE handle) {
    return SendScsiCommand(device, handle, TestUnitReadyCommand(), {});
}

bool GetConfiguration(platform::Device& device, platform::HANDLE handle,
                      std::span<std::uint8_t, kGetConfigurationReplySize> reply) {
    return SendScsiCommand(device, handle, GetConfigurationCommand(), reply);
}

bool ReadDvdPhysicalFormat(platform::Device& device, platform::HANDLE handle,
                           std::span<std::uint8_t, kDvdPhysicalFormatReplySize> reply) {
    std::fill(reply.begin(), reply.end(), std::uint8_t{0});
    return SendScsiCommand(device, handle, ReadDvdStructureCommand(), reply);
}

bool ModeSenseCapabilities(platform::Device& device, platform::HANDLE handle,
                           std::span<std::uint8_t, kCapabilitiesReplySize> reply) {
    std::fill(reply.begin(), reply.end(), std::uint8_t{0});
    return SendScsiCommand(device, handle, ModeSenseCapabilitiesCommand(), reply);
}

bool Inquiry(platform::Device& device, platform::HANDLE handle, std::span<std::uint8_t, kInquiryReplySize> reply) {
    std::fill(reply.begin(), reply.end(), std::uint8_t{0});
    return SendScsiCommand(device, handle, InquiryCommand(), reply);
}

}  // namespace tw::optical
