#include "optical/scsi_pass_through.h"

#include <algorithm>

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

namespace {

// Sends the command in a fresh, zeroed record and leaves the record as the
// drive returned it.
bool Send(platform::Device& device, platform::HANDLE handle, const ScsiCommand& command, std::span<std::uint8_t> data,
          platform::PassThroughRecord& record) {
    const std::uintptr_t address = command.dataTransferLength == 0 ? 0 : reinterpret_cast<std::uintptr_t>(data.data());
    record = platform::Encode(PassThroughRequestOf(command, address));
    platform::DWORD returned = 0;
    const auto size = static_cast<platform::DWORD>(record.size());
    return device.DeviceIoControl(handle, platform::IOCTL_SCSI_PASS_THROUGH_DIRECT, record.data(), size, record.data(),
                                  size, &returned, nullptr) != platform::FALSE;
}

}  // namespace

bool SendScsiCommand(platform::Device& device, platform::HANDLE handle, const ScsiCommand& command,
                     std::span<std::uint8_t> data) {
    if (data.size() < command.dataTransferLength) return false;
    platform::PassThroughRecord record{};
    return Send(device, handle, command, data, record);
}

ScsiAnswer AskScsiCommand(platform::Device& device, platform::HANDLE handle, const ScsiCommand& command,
                          std::span<std::uint8_t> data) {
    ScsiAnswer answer;
    if (data.size() < command.dataTransferLength) return answer;
    platform::PassThroughRecord record{};
    answer.done = Send(device, handle, command, data, record);
    if (!answer.done) {
        answer.error = device.GetLastError();
        return answer;
    }
    const auto back = platform::DecodePassThrough(record);
    if (!back) return answer;
    answer.status = back->scsiStatus;
    if (back->senseInfoLength == 0 || back->senseInfoOffset != platform::kPassThrough.sense) return answer;
    const std::span<const std::uint8_t> sense(
        record.data() + platform::kPassThrough.sense,
        std::min<std::size_t>(back->senseInfoLength, platform::pass_through::kSenseBytes));
    const std::uint8_t format = sense.empty() ? 0 : sense[0] & 0x7F;
    if ((format == 0x70 || format == 0x71) && sense.size() >= 14) {
        answer.senseKey = sense[2] & 0x0F;
        answer.additional = sense[12];
        answer.qualifier = sense[13];
    } else if ((format == 0x72 || format == 0x73) && sense.size() >= 4) {
        answer.senseKey = sense[1] & 0x0F;
        answer.additional = sense[2];
        answer.qualifier = sense[3];
    }
    return answer;
}

}  // namespace tw::optical
