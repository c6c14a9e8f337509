// Every volume of the system, with or without a drive letter: the volume
// manager's search, each volume's drive roots and mount-point folders, and
// what the volume says of itself (type, file system, label, serial, size).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel.h"

namespace tw::inventory {

struct VolumeEntry {
    std::string name;                      // "\\?\Volume{GUID}\"
    std::vector<std::string> driveRoots;   // "E:\"
    std::vector<std::string> mountPoints;  // "C:\Mount\Data\"
    platform::DWORD pathsError = 0;        // why the paths are unknown (0: they are known)
    platform::UINT driveType = 0;
    bool hasVolumeInfo = false;  // label, file system and serial below are the volume's
    std::string label;
    std::string fileSystem;
    platform::DWORD serial = 0;
    std::optional<std::uint64_t> capacity;
    std::optional<std::uint64_t> freeBytes;
};

struct VolumeListing {
    platform::DWORD error = 0;  // the search itself failed (0: it ran to its end)
    std::vector<VolumeEntry> volumes;
};

VolumeListing ListVolumes(platform::Kernel& kernel);

// The drive roots and mount-point folders of one volume, in the order the
// system gives them; the buffer grows as the system asks. Empty with
// `error` set when the system cannot say.
std::vector<std::string> VolumePathNames(platform::Kernel& kernel, const std::string& volumeName,
                                         platform::DWORD& error);

}  // namespace tw::inventory
