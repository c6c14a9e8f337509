#include "optical/blank_reason.h"

#include "optical/scsi_pass_through.h"
#include "optical/windows_version.h"

namespace tw::optical {

namespace {

constexpr std::uint8_t kCheckCondition = 0x02;
constexpr std::uint8_t kSenseNotReady = 0x02;
constexpr std::uint8_t kMediumNotPresent = 0x3A;
constexpr std::uint8_t kLogicalUnitNotReady = 0x04;

std::string FromError(platform::DWORD error) {
    switch (error) {
        case platform::ERROR_ACCESS_DENIED: return kRightsNeeded;
        case platform::ERROR_NOT_READY: return kDriveNotReady;
        case platform::ERROR_NO_MEDIA_IN_DRIVE: return kNoDisc;
        default: return {};
    }
}

}  // namespace

std::string BlankReason(TISODiscLib& lib, platform::Device& device, char letter) {
    // The library asks drives only on NT 4 and later, of an administrator.
    if (!lib.PassThroughAllowed()) {
        return IsPassThroughVersion(lib.GetWindowsVersion()) && !lib.IsAdministrator() ? kRightsNeeded : "";
    }
    const platform::HANDLE handle = lib.OpenCDDrive(letter);
    if (handle == platform::INVALID_HANDLE_VALUE) return FromError(device.GetLastError());
    const ScsiAnswer answer = AskScsiCommand(device, handle, TestUnitReadyCommand(), {});
    lib.CloseDrive(handle);
    if (!answer.done) return FromError(answer.error);
    if (answer.status != kCheckCondition || answer.senseKey != kSenseNotReady) return {};
    if (answer.additional == kMediumNotPresent) return kNoDisc;
    if (answer.additional == kLogicalUnitNotReady) return kDriveNotReady;
    return {};
}

}  // namespace tw::optical
