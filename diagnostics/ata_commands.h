// The ATA commands a health read sends round the driver's S.M.A.R.T.
// interface (ATA pass-through, or wrapped in SCSI commands for a bridge), as
// register values, and the disk's own verdict from SMART RETURN STATUS.
#pragma once
#include <optional>

#include "platform/win_types.h"

namespace tw::diagnostics {

// The registers of one command on its way to the disk.
struct AtaCommand {
    platform::BYTE features = 0;
    platform::BYTE sectorCount = 0;
    platform::BYTE lbaLow = 0;
    platform::BYTE lbaMid = 0;
    platform::BYTE lbaHigh = 0;
    platform::BYTE device = 0;
    platform::BYTE command = 0;
    bool dataIn = false;  // one 512-byte sector comes back
    bool operator==(const AtaCommand&) const = default;
};

// The registers a disk answers with.
struct AtaReturn {
    platform::BYTE error = 0;
    platform::BYTE sectorCount = 0;
    platform::BYTE lbaLow = 0;
    platform::BYTE lbaMid = 0;
    platform::BYTE lbaHigh = 0;
    platform::BYTE device = 0;
    platform::BYTE status = 0;
    bool operator==(const AtaReturn&) const = default;
};

AtaCommand IdentifyDeviceCommand();
AtaCommand SmartReadDataCommand();
AtaCommand SmartReadThresholdsCommand();
AtaCommand SmartReturnStatusCommand();

// The status register's error bit: the disk refused or failed the command.
constexpr platform::BYTE kAtaStatusError = 0x01;

enum class DiskVerdict { kNotGiven, kPassed, kThresholdExceeded };

// What SMART RETURN STATUS's LBA mid/high registers say: 4Fh/C2h passed,
// F4h/2Ch a threshold is exceeded; anything else (or no registers) is no
// verdict.
DiskVerdict VerdictOf(const std::optional<AtaReturn>& registers);

}  // namespace tw::diagnostics
