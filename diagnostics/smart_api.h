// S.M.A.R.T. reads of an ATA disk through the driver: the full read with
// every attribute rated, the identity alone, and the serial-number probe.
// Each call opens the device, sends its requests and closes the device;
// failures come back as a false result and a text, never as a message.
//
// On the NT family the device is "\\.\PhysicalDrive" + the disk number; on
// the 9x family every call talks to "\\.\SMARTVSD", which serves the IDE
// devices of the whole machine.
#pragma once
#include <cstdint>
#include <string>

#include "diagnostics/ata_identify.h"
#include "diagnostics/smart_result.h"
#include "platform/platform.h"

namespace tw::diagnostics {

// Reads disk `driveNumber`: the first present device (0..3 of the driver's
// map) that identifies, with its attributes and thresholds. True when the
// attributes were read, and when the driver lists no device at all;
// otherwise the outcome of the last request, `errorText` saying what failed.
bool SmartReadDrive(platform::Platform& platform, std::int32_t driveNumber, TSmartResult& result,
                    std::string& errorText);

// The model, size and serial of the first device that identifies.
bool SmartIdentifyDrive(platform::Platform& platform, std::int32_t driveNumber, std::string& errorText,
                        std::string& model, std::int64_t& sizeBytes, std::string& serial);

// The same, with every identify field the program shows (firmware too).
bool SmartIdentifyDrive(platform::Platform& platform, std::int32_t driveNumber, std::string& errorText,
                        IdentifyData& identity);

// The serial number of the master device of disk `driveNumber`, untrimmed;
// empty when the device does not open or does not identify.
std::string SmartReadSerial(platform::Platform& platform, std::uint16_t driveNumber);

}  // namespace tw::diagnostics
