#include "diagnostics/ata_commands.h"

#include "platform/smart_records.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr BYTE kReturnSmartStatus = 0xDA;
// The device register of a single disk behind a controller: LBA bit only.
constexpr BYTE kDevice = 0xA0;

AtaCommand Smart(BYTE feature, bool dataIn) {
    return {feature, 1, 1, SMART_CYL_LOW, SMART_CYL_HI, kDevice, SMART_CMD, dataIn};
}

}  // namespace

AtaCommand IdentifyDeviceCommand() { return {0, 1, 0, 0, 0, kDevice, ID_CMD, true}; }
AtaCommand SmartReadDataCommand() { return Smart(READ_ATTRIBUTES, true); }
AtaCommand SmartReadThresholdsCommand() { return Smart(READ_THRESHOLDS, true); }
AtaCommand SmartReturnStatusCommand() { return Smart(kReturnSmartStatus, false); }

DiskVerdict VerdictOf(const std::optional<AtaReturn>& r) {
    if (!r) return DiskVerdict::kNotGiven;
    if (r->lbaMid == 0x4F && r->lbaHigh == 0xC2) return DiskVerdict::kPassed;
    if (r->lbaMid == 0xF4 && r->lbaHigh == 0x2C) return DiskVerdict::kThresholdExceeded;
    return DiskVerdict::kNotGiven;
}

}  // namespace tw::diagnostics
