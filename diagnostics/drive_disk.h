// Which physical disk a drive letter lives on: the disk driver's device
// number of the volume "\\.\X:", the N of "\\.\PhysicalDriveN" that the
// S.M.A.R.T. reads open.
#pragma once
#include <optional>

#include "platform/device.h"
#include "platform/smart_records.h"

namespace tw::diagnostics {

struct DriveDisk {
    std::optional<platform::StorageDeviceNumber> number;  // none: not found
    platform::DWORD error = 0;                            // why not: the last error
};

// Opens the volume without data access (the request needs none, so a volume
// another program holds is asked too), asks its device number and closes it.
// A volume on anything but a disk (a CD, a network share) has no disk.
DriveDisk PhysicalDiskOfDrive(platform::Device& device, char letter);

}  // namespace tw::diagnostics
