#include "inventory/volume_list.h"

#include <array>

namespace tw::inventory {

using namespace tw::platform;

namespace {

// Far more than the paths of any volume.
constexpr size_t kMaxPathList = 1 << 20;

// A drive root is "X:\"; every other path is a folder a volume is mounted on.
bool IsDriveRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }

void Describe(Kernel& kernel, VolumeEntry& v) {
    DWORD error = 0;
    for (std::string& path : VolumePathNames(kernel, v.name, error)) {
        (IsDriveRoot(path) ? v.driveRoots : v.mountPoints).push_back(std::move(path));
    }
    v.pathsError = error;
    v.driveType = kernel.GetDriveTypeA(v.name.c_str());
    std::array<char, MAX_PATH + 1> label{};
    std::array<char, MAX_PATH + 1> fileSystem{};
    DWORD serial = 0;
    DWORD maxComponent = 0;
    DWORD flags = 0;
    if (kernel.GetVolumeInformationA(v.name.c_str(), label.data(), static_cast<DWORD>(label.size()), &serial,
                                     &maxComponent, &flags, fileSystem.data(), static_cast<DWORD>(fileSystem.size()))) {
        v.hasVolumeInfo = true;
        v.label = label.data();
        v.fileSystem = fileSystem.data();
        v.serial = serial;
    }
    ULONGLONG toCaller = 0;
    ULONGLONG total = 0;
    ULONGLONG totalFree = 0;
    if (kernel.GetDiskFreeSpaceExA(v.name.c_str(), &toCaller, &total, &totalFree)) {
        v.capacity = total;
        v.freeBytes = totalFree;
    }
}

}  // namespace

std::vector<std::string> VolumePathNames(Kernel& kernel, const std::string& volumeName, DWORD& error) {
    std::vector<char> buffer(MAX_PATH + 1);
    // Mount points can be added between two calls, so the size asked for
    // may not last: ask again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        if (kernel.GetVolumePathNamesForVolumeNameA(volumeName.c_str(), buffer.data(),
                                                    static_cast<DWORD>(buffer.size()), &needed)) {
            std::vector<std::string> paths;
            for (size_t at = 0; at < buffer.size() && buffer[at] != 0;) {
                std::string path(&buffer[at]);
                at += path.size() + 1;
                paths.push_back(std::move(path));
            }
            error = 0;
            return paths;
        }
        error = kernel.GetLastError();
        if (error != ERROR_MORE_DATA) return {};
        // A size no larger than the buffer's says nothing: double it then.
        const size_t next = needed > buffer.size() ? needed : buffer.size() * 2;
        if (next > kMaxPathList) return {};
        buffer.assign(next, 0);
    }
    return {};
}

VolumeListing ListVolumes(Kernel& kernel) {
    VolumeListing listing;
    // A card reader without a card would otherwise ask the user to insert one.
    const UINT previousMode = kernel.SetErrorMode(SEM_FAILCRITICALERRORS);
    std::array<char, MAX_PATH + 1> name{};
    const HANDLE search = kernel.FindFirstVolumeA(name.data(), static_cast<DWORD>(name.size()));
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = kernel.GetLastError();
        if (error != ERROR_NO_MORE_FILES) listing.error = error;
        kernel.SetErrorMode(previousMode);
        return listing;
    }
    for (;;) {
        VolumeEntry v;
        v.name = name.data();
        Describe(kernel, v);
        listing.volumes.push_back(std::move(v));
        if (!kernel.FindNextVolumeA(search, name.data(), static_cast<DWORD>(name.size()))) {
            const DWORD error = kernel.GetLastError();
            if (error != ERROR_NO_MORE_FILES) listing.error = error;
            break;
        }
    }
    kernel.FindVolumeClose(search);
    kernel.SetErrorMode(previousMode);
    return listing;
}

}  // namespace tw::inventory
