// The disk drives the management service knows, with the drive letters on
// each: the query of Win32_DiskDrive, then for each disk its partitions
// (Win32_DiskDriveToDiskPartition) and each partition's logical disks
// (Win32_LogicalDiskToPartition).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/wmi.h"

namespace tw::diagnostics {

struct DiskDrive {
    int index = -1;        // the disk number, -1 when the service gives none
    std::string deviceId;  // "\\.\PHYSICALDRIVE1"
    std::string model;
    std::string serial;
    std::string mediaType;
    std::string interfaceType;  // "USB", "IDE", "SCSI", ...
    std::string pnpDeviceId;
    std::optional<std::uint64_t> size;        // none: no medium, or not given
    std::optional<std::uint64_t> partitions;  // as the disk counts them
    std::vector<std::string> driveLetters;    // "E:", in partition order
    bool usb = false;
};

struct DiskDriveReport {
    platform::HRESULT result = 0;  // of the disk query (0: S_OK)
    std::vector<DiskDrive> disks;  // by disk number
    // The first failure while asking for a disk's letters (S_OK: none); the
    // disks are listed all the same.
    platform::HRESULT lettersResult = 0;
};

// Every disk drive, or only those on USB: those whose interface is USB, or
// whose device id is that of the USB mass-storage driver.
DiskDriveReport ReadDiskDrives(platform::Wmi& wmi, bool allDisks);

// A WQL object path of a key string: "{Win32_DiskDrive.DeviceID='\\\\.\\PHYSICALDRIVE1'}",
// backslashes and quotes escaped.
std::string ObjectPath(const std::string& className, const std::string& key);

}  // namespace tw::diagnostics
