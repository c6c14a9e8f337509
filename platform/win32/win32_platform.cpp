// The Win32 calls behind the platform interfaces. Each member passes its
// arguments straight through and returns the call's own result; the last-error
// code is the system's, so GetLastError after a member reads what the call set.
//
// Our header (and with it win_types.h) comes before <windows.h>: once the
// system header is in, names such as ERROR_SUCCESS or HKEY_CURRENT_USER are its
// macros, so below they mean the system's values. win32_constants.cpp checks
// that the two agree.
#include "platform/win32/win32_platform.h"

#include <cstdint>

#include "platform/win32/windows_headers.h"
// After <windows.h>, which it needs.
#include <winnetwk.h>

namespace tw::platform::win32 {

namespace {

// Our scalar types have the system's sizes but not always its spelling
// (DWORD is unsigned int here, unsigned long in <windows.h>; a key is an
// integer here, a pointer there). Out-parameters are handed to the system as
// they are, so a call writes exactly what it writes to the caller's variable,
// and leaves it alone where it leaves it alone.
template <class Native, class Ours>
Native* AsNative(Ours* p) {
    static_assert(sizeof(Native) == sizeof(Ours) && alignof(Native) == alignof(Ours));
    return reinterpret_cast<Native*>(p);
}

// Predefined keys (HKEY_CLASSES_ROOT 0x80000000, HKEY_CURRENT_USER 0x80000001,
// ...) are 32-bit values the system sign-extends to pointer width; opened keys
// are handles and pass unchanged.
::HKEY NativeKey(HKEY key) {
    if ((key & ~std::uintptr_t{0xFF}) == std::uintptr_t{0x80000000u}) {
        const auto predefined = static_cast<std::int32_t>(static_cast<std::uint32_t>(key));
        return reinterpret_cast<::HKEY>(static_cast<std::intptr_t>(predefined));
    }
    return reinterpret_cast<::HKEY>(key);
}

using DiskFreeSpaceExFn = ::BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

// ---- Kernel ----

Win32Kernel::Win32Kernel(const char* diskFreeSpaceExExport) : diskFreeSpaceEx_(nullptr) {
    // The lookup sets the last error when the export is missing; a caller
    // building a platform should not see that.
    const ::DWORD savedError = ::GetLastError();
    if (const ::HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll")) {
        // void (*)() converts to and from any function pointer type.
        diskFreeSpaceEx_ = reinterpret_cast<void (*)()>(::GetProcAddress(kernel32, diskFreeSpaceExExport));
    }
    ::SetLastError(savedError);
}

DWORD Win32Kernel::GetLogicalDrives() { return ::GetLogicalDrives(); }

UINT Win32Kernel::GetDriveTypeA(const char* rootPathName) { return ::GetDriveTypeA(rootPathName); }

BOOL Win32Kernel::GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                                        DWORD* volumeSerialNumber, DWORD* maximumComponentLength,
                                        DWORD* fileSystemFlags, char* fileSystemNameBuffer, DWORD fileSystemNameSize) {
    return ::GetVolumeInformationA(rootPathName, volumeNameBuffer, volumeNameSize,
                                   AsNative<::DWORD>(volumeSerialNumber), AsNative<::DWORD>(maximumComponentLength),
                                   AsNative<::DWORD>(fileSystemFlags), fileSystemNameBuffer, fileSystemNameSize);
}

BOOL Win32Kernel::GetDiskFreeSpaceExA(const char* directoryName, ULONGLONG* freeBytesAvailableToCaller,
                                      ULONGLONG* totalNumberOfBytes, ULONGLONG* totalNumberOfFreeBytes) {
    if (diskFreeSpaceEx_ == nullptr) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    const auto call = reinterpret_cast<DiskFreeSpaceExFn>(diskFreeSpaceEx_);
    return call(directoryName, AsNative<ULARGE_INTEGER>(freeBytesAvailableToCaller),
                AsNative<ULARGE_INTEGER>(totalNumberOfBytes), AsNative<ULARGE_INTEGER>(totalNumberOfFreeBytes));
}

BOOL Win32Kernel::GetDiskFreeSpaceA(const char* rootPathName, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                    DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters) {
    return ::GetDiskFreeSpaceA(rootPathName, AsNative<::DWORD>(sectorsPerCluster), AsNative<::DWORD>(bytesPerSector),
                               AsNative<::DWORD>(numberOfFreeClusters), AsNative<::DWORD>(totalNumberOfClusters));
}

UINT Win32Kernel::SetErrorMode(UINT mode) { return ::SetErrorMode(mode); }

DWORD Win32Kernel::GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    return ::GetLogicalDriveStringsA(bufferLength, buffer);
}

DWORD Win32Kernel::QueryDosDeviceA(const char* deviceName, char* targetPath, DWORD max) {
    return ::QueryDosDeviceA(deviceName, targetPath, max);
}

BOOL Win32Kernel::DefineDosDeviceA(DWORD flags, const char* deviceName, const char* targetPath) {
    return ::DefineDosDeviceA(flags, deviceName, targetPath);
}

BOOL Win32Kernel::GetVersionExA(OSVERSIONINFOA* info) { return ::GetVersionExA(AsNative<::OSVERSIONINFOA>(info)); }

UINT Win32Kernel::GetSystemDirectoryA(char* buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); }
DWORD Win32Kernel::GetModuleFileNameA(std::uintptr_t module, char* fileName, DWORD size) {
    return ::GetModuleFileNameA(reinterpret_cast<::HMODULE>(module), fileName, size);
}

UINT Win32Kernel::GetWindowsDirectoryA(char* buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); }

DWORD Win32Kernel::FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer,
                                  DWORD size, void* arguments) {
    return ::FormatMessageA(flags, source, messageId, languageId, buffer, size, static_cast<va_list*>(arguments));
}

DWORD Win32Kernel::GetFileAttributesA(const char* fileName) { return ::GetFileAttributesA(fileName); }

HANDLE Win32Kernel::CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                                DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    return reinterpret_cast<HANDLE>(
        ::CreateFileA(fileName, desiredAccess, shareMode, static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
                      creationDisposition, flagsAndAttributes, reinterpret_cast<::HANDLE>(templateFile)));
}

BOOL Win32Kernel::ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped) {
    return ::ReadFile(reinterpret_cast<::HANDLE>(file), buffer, toRead, AsNative<::DWORD>(read),
                      static_cast<LPOVERLAPPED>(overlapped));
}

BOOL Win32Kernel::WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped) {
    return ::WriteFile(reinterpret_cast<::HANDLE>(file), buffer, toWrite, AsNative<::DWORD>(written),
                       static_cast<LPOVERLAPPED>(overlapped));
}

DWORD Win32Kernel::SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    return ::SetFilePointer(reinterpret_cast<::HANDLE>(file), distance, AsNative<::LONG>(distanceHigh), moveMethod);
}

BOOL Win32Kernel::CloseHandle(HANDLE object) { return ::CloseHandle(reinterpret_cast<::HANDLE>(object)); }

BOOL Win32Kernel::DeleteFileA(const char* fileName) { return ::DeleteFileA(fileName); }

BOOL Win32Kernel::QueryPerformanceCounter(ULONGLONG* count) {
    LARGE_INTEGER value{};
    const ::BOOL ok = ::QueryPerformanceCounter(&value);
    if (ok && count) *count = static_cast<ULONGLONG>(value.QuadPart);
    return ok;
}

BOOL Win32Kernel::QueryPerformanceFrequency(ULONGLONG* frequency) {
    LARGE_INTEGER value{};
    const ::BOOL ok = ::QueryPerformanceFrequency(&value);
    if (ok && frequency) *frequency = static_cast<ULONGLONG>(value.QuadPart);
    return ok;
}

DWORD Win32Kernel::GetLastError() { return ::GetLastError(); }

void Win32Kernel::SetLastError(DWORD errorCode) { ::SetLastError(errorCode); }

// ---- Modules ----

HMODULE Win32Modules::LoadLibraryExA(const char* fileName, DWORD flags) {
    if (!SystemTakesSearchFlags()) flags &= ~static_cast<DWORD>(0x00001F00);  // the LOAD_LIBRARY_SEARCH_ flags
    return reinterpret_cast<HMODULE>(::LoadLibraryExA(fileName, nullptr, flags));
}

FARPROC Win32Modules::GetProcAddress(HMODULE module, const char* procName) {
    return reinterpret_cast<FARPROC>(::GetProcAddress(reinterpret_cast<::HMODULE>(module), procName));
}

BOOL Win32Modules::FreeLibrary(HMODULE module) { return ::FreeLibrary(reinterpret_cast<::HMODULE>(module)); }

DWORD Win32Modules::GetLastError() { return ::GetLastError(); }

void Win32Modules::CallChkdsk(FARPROC chkdsk, const char16_t* driveRoot, const char16_t* format, BOOLEAN correctErrors,
                              BOOLEAN verbose, BOOLEAN checkOnlyIfDirty, BOOLEAN scanDrive, FMIFSCALLBACK callback) {
    // The export as the library declares it: wide texts, byte-wide flags,
    // two unused pointers, the callback; no result.
    using ChkdskFn = VOID(WINAPI*)(PWCHAR, PWCHAR, BOOLEAN, BOOLEAN, BOOLEAN, BOOLEAN, PVOID, PVOID, FMIFSCALLBACK);
    static_assert(sizeof(char16_t) == sizeof(WCHAR));
    if (chkdsk == 0) return;
    const auto fn = reinterpret_cast<ChkdskFn>(chkdsk);
    fn(reinterpret_cast<PWCHAR>(const_cast<char16_t*>(driveRoot)),
       reinterpret_cast<PWCHAR>(const_cast<char16_t*>(format)), correctErrors, verbose, checkOnlyIfDirty, scanDrive,
       nullptr, nullptr, callback);
}

// ---- Registry ----

LONG Win32Registry::RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* className, DWORD options,
                                    REGSAM samDesired, void* securityAttributes, HKEY* result, DWORD* disposition) {
    return ::RegCreateKeyExA(NativeKey(key), subKey, reserved, className, options, samDesired,
                             static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes), AsNative<::HKEY>(result),
                             AsNative<::DWORD>(disposition));
}

LONG Win32Registry::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                     DWORD* dataSize) {
    return ::RegQueryValueExA(NativeKey(key), valueName, AsNative<::DWORD>(reserved), AsNative<::DWORD>(type), data,
                              AsNative<::DWORD>(dataSize));
}

LONG Win32Registry::RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                                   DWORD dataSize) {
    return ::RegSetValueExA(NativeKey(key), valueName, reserved, type, data, dataSize);
}

LONG Win32Registry::RegCloseKey(HKEY key) { return ::RegCloseKey(NativeKey(key)); }

LONG Win32Registry::RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM samDesired, HKEY* result) {
    return ::RegOpenKeyExA(NativeKey(key), subKey, options, samDesired, AsNative<::HKEY>(result));
}

LONG Win32Registry::RegDeleteValueA(HKEY key, const char* valueName) {
    return ::RegDeleteValueA(NativeKey(key), valueName);
}

// ---- Network ----

DWORD Win32Network::WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) {
    const auto call = reinterpret_cast<decltype(&::WNetGetConnectionA)>(mpr_.Export("WNetGetConnectionA"));
    if (call == nullptr) return ::GetLastError();
    return call(localName, remoteName, AsNative<::DWORD>(length));
}

DWORD Win32Network::WNetConnectionDialog(HWND hwnd, DWORD type) {
    const auto call = reinterpret_cast<decltype(&::WNetConnectionDialog)>(mpr_.Export("WNetConnectionDialog"));
    if (call == nullptr) return ::GetLastError();
    return call(reinterpret_cast<::HWND>(hwnd), type);
}

DWORD Win32Network::WNetDisconnectDialog(HWND hwnd, DWORD type) {
    const auto call = reinterpret_cast<decltype(&::WNetDisconnectDialog)>(mpr_.Export("WNetDisconnectDialog"));
    if (call == nullptr) return ::GetLastError();
    return call(reinterpret_cast<::HWND>(hwnd), type);
}

// ---- Locale ----

int Win32Locale::GetLocaleInfoA(LCID locale, LCTYPE type, char* data, int dataSize) {
    return ::GetLocaleInfoA(locale, type, data, dataSize);
}

}  // namespace tw::platform::win32
