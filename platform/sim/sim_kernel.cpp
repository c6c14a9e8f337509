#include <algorithm>
#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

// Copies `text` and its terminating zero when it fits in `size` bytes.
bool CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr) return true;
    if (text.size() + 1 > size) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

// What a drive answers for a volume or free-space call; null, with the last
// error set, when there is no drive or it answers with an error.
template <typename T>
const T* Answered(MachineState& s, const SimDrive* d, Answer<T> SimDrive::*answer) {
    if (d == nullptr) return s.Fail<const T*>(ERROR_PATH_NOT_FOUND, nullptr);
    const Answer<T>& a = d->*answer;
    return a.value ? &*a.value : s.Fail<const T*>(a.error, nullptr);
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
    if (s_.Faulted(SimCall::GetLogicalDrives)) return 0;
    DWORD mask = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (s_.Present(letter)) mask |= 1u << (letter - 'A');
    }
    return s_.Succeed(mask);
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
    if (s_.Faulted(SimCall::GetVolumeInformationA, volume ? 0 : letter)) return FALSE;
    if (!volume && (letter == 0 || rootPathName[2] != '\\' || rootPathName[3] != 0)) {
        return s_.Fail(ERROR_INVALID_NAME);
    }
    const VolumeInfo* v = Answered(s_, volume ? s_.DriveOfVolume(*volume) : s_.Effective(letter), &SimDrive::volume);
    if (v == nullptr) return FALSE;
    if (!CopyOut(v->label, volumeNameBuffer, volumeNameSize) ||
        !CopyOut(v->fileSystem, fileSystemNameBuffer, fileSystemNameSize)) {
        return s_.Fail(ERROR_BAD_LENGTH);
    }
    if (volumeSerialNumber) *volumeSerialNumber = v->serial;
    if (maximumComponentLength) *maximumComponentLength = v->maxComponentLength;
    if (fileSystemFlags) *fileSystemFlags = v->flags;
    return s_.Succeed();
}

BOOL SimKernel::GetDiskFreeSpaceExA(const char* directoryName, ULONGLONG* freeBytesAvailableToCaller,
                                    ULONGLONG* totalNumberOfBytes, ULONGLONG* totalNumberOfFreeBytes) {
    char letter = LetterOf(directoryName);
    s_.errorModeAtSpaceProbe = s_.errorMode;
    if (!s_.freeSpaceEx) {
        return s_.Faulted(SimCall::GetDiskFreeSpaceExA) ? FALSE : s_.Fail(ERROR_CALL_NOT_IMPLEMENTED);
    }
    SimVolume* volume = s_.VolumeNamed(directoryName);
    if (s_.Faulted(SimCall::GetDiskFreeSpaceExA, volume ? 0 : letter)) return FALSE;
    SimDrive* d = volume ? s_.DriveOfVolume(*volume) : letter ? s_.Effective(letter) : nullptr;
    const SpaceInfo* sp = Answered(s_, d, &SimDrive::space);
    if (sp == nullptr) return FALSE;
    if (freeBytesAvailableToCaller) *freeBytesAvailableToCaller = sp->freeToCaller;
    if (totalNumberOfBytes) *totalNumberOfBytes = sp->total;
    if (totalNumberOfFreeBytes) *totalNumberOfFreeBytes = sp->totalFree;
    return s_.Succeed();
}

BOOL SimKernel::GetDiskFreeSpaceA(const char* rootPathName, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                  DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters) {
    char letter = LetterOf(rootPathName);
    s_.errorModeAtSpaceProbe = s_.errorMode;
    if (s_.Faulted(SimCall::GetDiskFreeSpaceA, letter)) return FALSE;
    const SpaceInfo* sp = Answered(s_, letter ? s_.Effective(letter) : nullptr, &SimDrive::space);
    if (sp == nullptr) return FALSE;
    const ULONGLONG cluster = ULONGLONG{sp->bytesPerSector} * sp->sectorsPerCluster;
    auto clusters = [cluster](ULONGLONG bytes) {
        return static_cast<DWORD>(std::min<ULONGLONG>(cluster ? bytes / cluster : 0, 0xFFFFFFFFu));
    };
    if (sectorsPerCluster) *sectorsPerCluster = sp->sectorsPerCluster;
    if (bytesPerSector) *bytesPerSector = sp->bytesPerSector;
    if (numberOfFreeClusters) *numberOfFreeClusters = clusters(sp->freeToCaller);
    if (totalNumberOfClusters) *totalNumberOfClusters = clusters(sp->total);
    return s_.Succeed();
}

UINT SimKernel::SetErrorMode(UINT mode) {
    s_.Enter(SimCall::SetErrorMode);
    UINT previous = s_.errorMode;
    s_.errorMode = mode;
    return previous;
}

DWORD SimKernel::GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    if (s_.Faulted(SimCall::GetLogicalDriveStringsA)) return 0;
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
    return s_.Succeed(length);
}

DWORD SimKernel::QueryDosDeviceA(const char* deviceName, char* targetPath, DWORD max) {
    char letter = LetterOf(deviceName);
    if (s_.Faulted(SimCall::QueryDosDeviceA, letter)) return 0;
    SimDrive* d = s_.DriveOf(deviceName);
    if (letter == 0 || deviceName[2] != 0 || !s_.Present(letter)) return s_.Fail<DWORD>(ERROR_FILE_NOT_FOUND, 0);
    // The current mapping first, then the ones it hides, newest first; each
    // ends with a zero and the list with another.
    std::string list;
    const auto& defined = s_.definitions[letter];
    for (auto it = defined.rbegin(); it != defined.rend(); ++it) list += *it + '\0';
    if (d != nullptr && d->present) list += (d->dosDevice.empty() ? DefaultDosDevice(*d) : d->dosDevice) + '\0';
    list += '\0';
    if (targetPath == nullptr || list.size() > max) return s_.Fail<DWORD>(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(targetPath, list.data(), list.size());
    return s_.Succeed(static_cast<DWORD>(list.size()));
}

DWORD SimKernel::GetLastError() { return s_.lastError; }
void SimKernel::SetLastError(DWORD errorCode) { s_.lastError = errorCode; }

}  // namespace tw::sim
