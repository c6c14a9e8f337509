// One SCSI command on a drive handle through IOCTL_SCSI_PASS_THROUGH_DIRECT,
// the request record (platform/device_records.h) sent as both the input and
// the output of the request.
#pragma once
#include <cstdint>
#include <span>

#include "optical/scsi_commands.h"
#include "platform/device.h"
#include "platform/device_records.h"

namespace tw::optical {

// The request of `command`: data-in for every command (also for TEST UNIT
// READY, which moves none), `dataBuffer` the address of the reply buffer or
// 0 when no data moves.
platform::PassThroughRequest PassThroughRequestOf(const ScsiCommand& command, std::uintptr_t dataBuffer);

// Sends `command`; the device writes its reply into `data`, which must hold
// the command's transfer length (a shorter buffer fails without a request).
// True when DeviceIoControl returns non-zero: the SCSI status, the sense
// data and the bytes returned do not enter into it.
bool SendScsiCommand(platform::Device& device, platform::HANDLE handle, const ScsiCommand& command,
                     std::span<std::uint8_t> data);

// How a drive answered one command, sense data included.
struct ScsiAnswer {
    bool done = false;            // DeviceIoControl returned non-zero
    platform::DWORD error = 0;    // its last error when not done
    std::uint8_t status = 0;      // the SCSI status (2: CHECK CONDITION)
    std::uint8_t senseKey = 0;    // of the sense data, fixed or descriptor format
    std::uint8_t additional = 0;  // additional sense code
    std::uint8_t qualifier = 0;   // its qualifier
};
ScsiAnswer AskScsiCommand(platform::Device& device, platform::HANDLE handle, const ScsiCommand& command,
                          std::span<std::uint8_t> data);

}  // namespace tw::optical
