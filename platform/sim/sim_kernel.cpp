#include <algorithm>
#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

char LetterOf(const char* path) {
    if (path == nullptr || path[0] == 0 || path[1] != ':') return 0;
    char c = path[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return (c >= 'A' && c <= 'Z') ? c : 0;
}

// Copies `text` and its terminating zero when it fits in `size` bytes.
bool CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr) return true;
    if (text.size() + 1 > size) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::string DefaultDosDevice(const SimDrive& d) {
    switch (d.type) {
        case DRIVE_CDROM: return "\\Device\\CdRom0";
        case DRIVE_REMOVABLE: return std::string("\\Device\\Harddisk1\\DP(1)0-0+") + d.letter;
        case DRIVE_REMOTE: return std::string("\\Device\\LanmanRedirector\\;") + d.letter + ":0000000000001234";
        case DRIVE_RAMDISK: return "\\Device\\Ramdisk";
        default: return std::string("\\Device\\HarddiskVolume") + std::to_string(d.letter - 'A' + 1);
    }
}

}  // namespace

DWORD SimKernel::GetLogicalDrives() {
    if (const DWORD fault = s_.Enter(SimCall::GetLogicalDrives)) {
        s_.lastError = fault;
        return 0;
    }
    DWORD mask = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (s_.Present(letter)) mask |= 1u << (letter - 'A');
    }
    s_.lastError = ERROR_SUCCESS;
    return mask;
}

UINT SimKernel::GetDriveTypeA(const char* rootPathName) {
    if (SimVolume* v = s_.VolumeNamed(rootPathName)) {
        s_.Enter(SimCall::GetDriveTypeA);
        SimDrive* d = s_.DriveOfVolume(*v);
        return d ? d->type : DRIVE_NO_ROOT_DIR;
    }
    char letter = LetterOf(rootPathName);
    if (s_.Enter(SimCall::GetDriveTypeA, letter)) return DRIVE_UNKNOWN;
    if (letter == 0) return DRIVE_NO_ROOT_DIR;
    // "C:" and "C:\" both name the root; anything after the backslash does not.
    if (rootPathName[2] != 0 && !(rootPathName[2] == '\\' && rootPathName[3] == 0)) return DRIVE_NO_ROOT_DIR;
    // A substitution answers with the type of the drive it stands on.
    if (!s_.Present(letter)) {
        SimDrive* d = s_.DriveOf(rootPathName);
        return d ? d->type : DRIVE_NO_ROOT_DIR;
    }
    SimDrive* d = s_.Effective(letter);
    return d ? d->type : DRIVE_NO_ROOT_DIR;
}

BOOL SimKernel::GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                                      DWORD* volumeSerialNumber, DWORD* maximumComponentLength, DWORD* fileSystemFlags,
                                      char* fileSystemNameBuffer, DWORD fileSystemNameSize) {
    char letter = LetterOf(rootPathName);
    SimVolume* volume = s_.VolumeNamed(rootPathName);
    if (const DWORD fault = s_.Enter(SimCall::GetVolumeInformationA, volume ? 0 : letter)) {
        s_.lastError = fault;
        return FALSE;
    }
    if (!volume && (letter == 0 || rootPathName[2] != '\\' || rootPathName[3] != 0)) {
        s_.lastError = ERROR_INVALID_NAME;
        return FALSE;
    }
    SimDrive* d = volume ? s_.DriveOfVolume(*volume) : s_.Effective(letter);
    if (d == nullptr) {
        s_.lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    if (!d->volume.value) {
        s_.lastError = d->volume.error;
        return FALSE;
    }
    const VolumeInfo& v = *d->volume.value;
    if (!CopyOut(v.label, volumeNameBuffer, volumeNameSize) ||
        !CopyOut(v.fileSystem, fileSystemNameBuffer, fileSystemNameSize)) {
        s_.lastError = ERROR_BAD_LENGTH;
        return FALSE;
    }
    if (volumeSerialNumber) *volumeSerialNumber = v.serial;
    if (maximumComponentLength) *maximumComponentLength = v.maxComponentLength;
    if (fileSystemFlags) *fileSystemFlags = v.flags;
    s_.lastError = ERROR_SUCCESS;
    return TRUE;
}

BOOL SimKernel::GetDiskFreeSpaceExA(const char* directoryName, ULONGLONG* freeBytesAvailableToCaller,
                                    ULONGLONG* totalNumberOfBytes, ULONGLONG* totalNumberOfFreeBytes) {
    char letter = LetterOf(directoryName);
    s_.errorModeAtSpaceProbe = s_.errorMode;
    if (!s_.freeSpaceEx) {
        if (const DWORD fault = s_.Enter(SimCall::GetDiskFreeSpaceExA)) {
            s_.lastError = fault;
            return FALSE;
        }
        s_.lastError = ERROR_CALL_NOT_IMPLEMENTED;
        return FALSE;
    }
    SimVolume* volume = s_.VolumeNamed(directoryName);
    if (const DWORD fault = s_.Enter(SimCall::GetDiskFreeSpaceExA, volume ? 0 : letter)) {
        s_.lastError = fault;
        return FALSE;
    }
    SimDrive* d = volume ? s_.DriveOfVolume(*volume) : letter ? s_.Effective(letter) : nullptr;
    if (d == nullptr) {
        s_.lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    if (!d->space.value) {
        s_.lastError = d->space.error;
        return FALSE;
    }
    const SpaceInfo& sp = *d->space.value;
    if (freeBytesAvailableToCaller) *freeBytesAvailableToCaller = sp.freeToCaller;
    if (totalNumberOfBytes) *totalNumberOfBytes = sp.total;
    if (totalNumberOfFreeBytes) *totalNumberOfFreeBytes = sp.totalFree;
    s_.lastError = ERROR_SUCCESS;
    return TRUE;
}

BOOL SimKernel::GetDiskFreeSpaceA(const char* rootPathName, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                  DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters) {
    char letter = LetterOf(rootPathName);
    s_.errorModeAtSpaceProbe = s_.errorMode;
    if (const DWORD fault = s_.Enter(SimCall::GetDiskFreeSpaceA, letter)) {
        s_.lastError = fault;
        return FALSE;
    }
    SimDrive* d = letter ? s_.Effective(letter) : nullptr;
    if (d == nullptr) {
        s_.lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    if (!d->space.value) {
        s_.lastError = d->space.error;
        return FALSE;
    }
    const SpaceInfo& sp = *d->space.value;
    const ULONGLONG cluster = ULONGLONG{sp.bytesPerSector} * sp.sectorsPerCluster;
    auto clusters = [cluster](ULONGLONG bytes) {
        return static_cast<DWORD>(std::min<ULONGLONG>(cluster ? bytes / cluster : 0, 0xFFFFFFFFu));
    };
    if (sectorsPerCluster) *sectorsPerCluster = sp.sectorsPerCluster;
    if (bytesPerSector) *bytesPerSector = sp.bytesPerSector;
    if (numberOfFreeClusters) *numberOfFreeClusters = clusters(sp.freeToCaller);
    if (totalNumberOfClusters) *totalNumberOfClusters = clusters(sp.total);
    s_.lastError = ERROR_SUCCESS;
    return TRUE;
}

UINT SimKernel::SetErrorMode(UINT mode) {
    s_.Enter(SimCall::SetErrorMode);
    UINT previous = s_.errorMode;
    s_.errorMode = mode;
    return previous;
}

DWORD SimKernel::GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    if (const DWORD fault = s_.Enter(SimCall::GetLogicalDriveStringsA)) {
        s_.lastError = fault;
        return 0;
    }
    std::string all;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!s_.Present(letter)) continue;
        all += letter;
        all += ":\\";
        all += '\0';
    }
    // Without the final zero: the length a successful call reports.
    const DWORD length = static_cast<DWORD>(all.size());
    if (buffer == nullptr || bufferLength < length + 1) return length + 1;
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = 0;
    s_.lastError = ERROR_SUCCESS;
    return length;
}

DWORD SimKernel::QueryDosDeviceA(const char* deviceName, char* targetPath, DWORD max) {
    char letter = LetterOf(deviceName);
    if (const DWORD fault = s_.Enter(SimCall::QueryDosDeviceA, letter)) {
        s_.lastError = fault;
        return 0;
    }
    SimDrive* d = s_.DriveOf(deviceName);
    if (letter == 0 || deviceName[2] != 0 || !s_.Present(letter)) {
        s_.lastError = ERROR_FILE_NOT_FOUND;
        return 0;
    }
    // The most recent definition hides the ones beneath it.
    const auto& defined = s_.definitions[letter];
    std::string target = !defined.empty() ? defined.back() : d->dosDevice.empty() ? DefaultDosDevice(*d) : d->dosDevice;
    // The target list ends with two zeros.
    if (targetPath == nullptr || target.size() + 2 > max) {
        s_.lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    std::memcpy(targetPath, target.c_str(), target.size() + 1);
    targetPath[target.size() + 1] = 0;
    s_.lastError = ERROR_SUCCESS;
    return static_cast<DWORD>(target.size() + 2);
}

DWORD SimKernel::GetLastError() { return s_.lastError; }
void SimKernel::SetLastError(DWORD errorCode) { s_.lastError = errorCode; }

}  // namespace tw::sim
