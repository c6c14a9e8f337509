// The volume manager's calls of kernel32.
#include "platform/win32/win32_platform.h"

// Our values, copied before <windows.h> makes the names its macros.
namespace {
constexpr auto kNoMoreFiles = tw::platform::ERROR_NO_MORE_FILES;
constexpr auto kNameTooLong = tw::platform::ERROR_FILENAME_EXCED_RANGE;
}  // namespace

#include "platform/win32/windows_headers.h"

static_assert(kNoMoreFiles == ERROR_NO_MORE_FILES);
static_assert(kNameTooLong == ERROR_FILENAME_EXCED_RANGE);

namespace tw::platform::win32 {

HANDLE Win32Kernel::FindFirstVolumeA(char* volumeName, DWORD bufferLength) {
    return reinterpret_cast<HANDLE>(::FindFirstVolumeA(volumeName, bufferLength));
}

BOOL Win32Kernel::FindNextVolumeA(HANDLE findVolume, char* volumeName, DWORD bufferLength) {
    return ::FindNextVolumeA(reinterpret_cast<::HANDLE>(findVolume), volumeName, bufferLength);
}

BOOL Win32Kernel::FindVolumeClose(HANDLE findVolume) {
    return ::FindVolumeClose(reinterpret_cast<::HANDLE>(findVolume));
}

BOOL Win32Kernel::GetVolumePathNamesForVolumeNameA(const char* volumeName, char* volumePathNames, DWORD bufferLength,
                                                   DWORD* returnLength) {
    static_assert(sizeof(DWORD) == sizeof(::DWORD));
    return ::GetVolumePathNamesForVolumeNameA(volumeName, volumePathNames, bufferLength,
                                              reinterpret_cast<::DWORD*>(returnLength));
}

}  // namespace tw::platform::win32
