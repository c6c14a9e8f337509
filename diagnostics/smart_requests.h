// The requests the program sends a disk through the driver's S.M.A.R.T.
// interface, and the words for the driver's status codes.
#pragma once
#include <string>

#include "platform/device.h"
#include "platform/smart_records.h"

namespace tw::diagnostics {

// The drive/head register of device `index` (0..3): master 0xA0, slave 0xB0.
platform::BYTE DriveHead(int index);

platform::SmartCommand EnableSmartCommand(int index);
// IDENTIFY DEVICE, or IDENTIFY PACKET DEVICE for an ATAPI device.
platform::SmartCommand IdentifyCommand(int index, bool atapi);
platform::SmartCommand ReadAttributesCommand(int index);
platform::SmartCommand ReadThresholdsCommand(int index);

// "No error" for 0 ... the driver's words for bDriverError; "Unknown driver
// error N" for a code the driver does not define.
std::string DriverErrorText(platform::BYTE driverError);

// bIDEError as four upper-case hexadecimal digits ("0004").
std::string IdeStatusText(platform::BYTE ideError);

// Sends `command` with `code`; the driver's reply goes into `reply`, of
// which `replyLength` bytes are offered. True when DeviceIoControl succeeds.
bool SendSmartCommand(platform::Device& device, platform::HANDLE handle, platform::DWORD code,
                      const platform::SmartCommand& command, platform::SmartReplyBuffer& reply,
                      platform::DWORD replyLength);

}  // namespace tw::diagnostics
