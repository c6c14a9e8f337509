// Kernel services: drive letters, volumes, free space, device names, error mode.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace tw::platform {

class Kernel {
public:
    virtual ~Kernel() = default;

    virtual DWORD GetLogicalDrives() = 0;
    virtual UINT GetDriveTypeA(const char* rootPathName) = 0;
    virtual BOOL GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                                       DWORD* volumeSerialNumber, DWORD* maximumComponentLength, DWORD* fileSystemFlags,
                                       char* fileSystemNameBuffer, DWORD fileSystemNameSize) = 0;
    // Fails with ERROR_CALL_NOT_IMPLEMENTED where the system lacks the call;
    // callers then fall back to GetDiskFreeSpaceA.
    virtual BOOL GetDiskFreeSpaceExA(const char* directoryName, ULONGLONG* freeBytesAvailableToCaller,
                                     ULONGLONG* totalNumberOfBytes, ULONGLONG* totalNumberOfFreeBytes) = 0;
    virtual BOOL GetDiskFreeSpaceA(const char* rootPathName, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                   DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters) = 0;
    virtual UINT SetErrorMode(UINT mode) = 0;
    virtual DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) = 0;
    virtual DWORD QueryDosDeviceA(const char* deviceName, char* targetPath, DWORD max) = 0;
    // Device names (drive-letter substitutions).
    virtual BOOL DefineDosDeviceA(DWORD flags, const char* deviceName, const char* targetPath) = 0;
    virtual BOOL GetVersionExA(OSVERSIONINFOA* versionInformation) = 0;
    // The folders of the system: characters written without the zero, the
    // size needed (zero included) when `size` is too small, 0 on failure.
    virtual UINT GetSystemDirectoryA(char* buffer, UINT size) = 0;
    virtual UINT GetWindowsDirectoryA(char* buffer, UINT size) = 0;
    // The full path of the program's own file (module 0): characters written
    // without the zero; a path that does not fit is cut to `size` - 1
    // characters and a zero, returns `size` and fails with
    // ERROR_INSUFFICIENT_BUFFER; 0 on failure.
    virtual DWORD GetModuleFileNameA(std::uintptr_t module, char* fileName, DWORD size) = 0;
    // The system's text for an error code (FORMAT_MESSAGE_FROM_SYSTEM), ended
    // by CR LF; the number of characters written without the zero, or 0.
    virtual DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer,
                                 DWORD size, void* arguments) = 0;

    // Files. INVALID_FILE_ATTRIBUTES when the path names nothing.
    virtual DWORD GetFileAttributesA(const char* fileName) = 0;
    virtual HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                               DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) = 0;
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD numberOfBytesToRead, DWORD* numberOfBytesRead,
                          void* overlapped) = 0;
    virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD numberOfBytesToWrite, DWORD* numberOfBytesWritten,
                           void* overlapped) = 0;
    virtual DWORD SetFilePointer(HANDLE file, LONG distanceToMove, LONG* distanceToMoveHigh, DWORD moveMethod) = 0;
    virtual BOOL CloseHandle(HANDLE object) = 0;
    virtual BOOL DeleteFileA(const char* fileName) = 0;

    // The high-resolution clock: ticks so far and ticks per second.
    virtual BOOL QueryPerformanceCounter(ULONGLONG* count) = 0;
    virtual BOOL QueryPerformanceFrequency(ULONGLONG* frequency) = 0;

    virtual DWORD GetLastError() = 0;
    virtual void SetLastError(DWORD errorCode) = 0;

    // Volumes by their names ("\\?\Volume{GUID}\"), letters or none. The
    // search handle is closed with FindVolumeClose; the end of the search is
    // FALSE with ERROR_NO_MORE_FILES.
    virtual HANDLE FindFirstVolumeA(char* volumeName, DWORD bufferLength) = 0;
    virtual BOOL FindNextVolumeA(HANDLE findVolume, char* volumeName, DWORD bufferLength) = 0;
    virtual BOOL FindVolumeClose(HANDLE findVolume) = 0;
    // The drive roots and mount-point folders of a volume, each ended by a
    // zero, the list by another. A buffer too small fails with
    // ERROR_MORE_DATA and `returnLength` the characters needed.
    virtual BOOL GetVolumePathNamesForVolumeNameA(const char* volumeName, char* volumePathNames, DWORD bufferLength,
                                                  DWORD* returnLength) = 0;
};

}  // namespace tw::platform
