#include "optical/scsi_pass_through.h"

namespace tw::optical {

platform::PassThroughRequest PassThroughRequestOf(const ScsiCommand& command, std::uintptr_t dataBuffer) {
    platform::PassThroughRequest request;
    request.cdbLength = command.cdbLength;
    request.senseInfoLength = command.senseInfoLength;
    request.dataIn = platform::SCSI_IOCTL_DATA_IN;
    request.dataTransferLength = command.dataTransferLength;
    request.timeOutValue = command.timeOutValue;
    request.dataBuffer = dataBuffer;
    request.cdb = command.cdb;
    return request;
}

bool SendScsiCommand(platform::Device& device, platform::HANDLE handle, const ScsiCommand& command,
                     std::span<std::uint8_t> data) {
    if (data.size() < command.dataTransferLength) return false;
    const std::uintptr_t address = command.dataTransferLength == 0 ? 0 : reinterpret_cast<std::uintptr_t>(data.data());
    // A fresh, zeroed record for every command.
    platform::PassThroughRecord record = platform::Encode(PassThroughRequestOf(command, address));
    platform::DWORD returned = 0;
    const auto size = static_cast<platform::DWORD>(record.size());
    return device.DeviceIoControl(handle, platform::IOCTL_SCSI_PASS_THROUGH_DIRECT, record.data(), size, record.data(),
                                  size, &returned, nullptr) != platform::FALSE;
}

}  // namespace tw::optical
