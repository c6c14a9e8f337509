// The real Windows backend: each member forwards to the Win32 call of the same
// name and returns what it returns, last-error code included. No <windows.h>
// here, so portable code that includes this header sees none of its macros;
// the calls live in win32_platform.cpp.
#pragma once
#include "platform/platform.h"
#include "platform/win32/system_library.h"

namespace tw::platform::win32 {

class Win32Kernel final : public Kernel {
public:
    // The name under which GetDiskFreeSpaceExA is looked up in kernel32. The
    // export is absent on the oldest systems; a test passes a name kernel32
    // lacks to make the call fail as it would there.
    static constexpr const char* kDiskFreeSpaceExExport = "GetDiskFreeSpaceExA";

    explicit Win32Kernel(const char* diskFreeSpaceExExport = kDiskFreeSpaceExExport);

    DWORD GetLogicalDrives() override;
    UINT GetDriveTypeA(const char* rootPathName) override;
    BOOL GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                               DWORD* volumeSerialNumber, DWORD* maximumComponentLength, DWORD* fileSystemFlags,
                               char* fileSystemNameBuffer, DWORD fileSystemNameSize) override;
    // Fails with ERROR_CALL_NOT_IMPLEMENTED when kernel32 lacks the export.
    BOOL GetDiskFreeSpaceExA(const char* directoryName, ULONGLONG* freeBytesAvailableToCaller,
                             ULONGLONG* totalNumberOfBytes, ULONGLONG* totalNumberOfFreeBytes) override;
    BOOL GetDiskFreeSpaceA(const char* rootPathName, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                           DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters) override;
    UINT SetErrorMode(UINT mode) override;
    DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) override;
    DWORD QueryDosDeviceA(const char* deviceName, char* targetPath, DWORD max) override;
    BOOL DefineDosDeviceA(DWORD flags, const char* deviceName, const char* targetPath) override;
    BOOL GetVersionExA(OSVERSIONINFOA* versionInformation) override;
    UINT GetSystemDirectoryA(char* buffer, UINT size) override;
    DWORD GetModuleFileNameA(std::uintptr_t module, char* fileName, DWORD size) override;
    UINT GetWindowsDirectoryA(char* buffer, UINT size) override;
    DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer, DWORD size,
                         void* arguments) override;
    DWORD GetFileAttributesA(const char* fileName) override;
    HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                       DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD numberOfBytesToRead, DWORD* numberOfBytesRead,
                  void* overlapped) override;
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD numberOfBytesToWrite, DWORD* numberOfBytesWritten,
                   void* overlapped) override;
    DWORD SetFilePointer(HANDLE file, LONG distanceToMove, LONG* distanceToMoveHigh, DWORD moveMethod) override;
    BOOL CloseHandle(HANDLE object) override;
    BOOL DeleteFileA(const char* fileName) override;
    BOOL QueryPerformanceCounter(ULONGLONG* count) override;
    BOOL QueryPerformanceFrequency(ULONGLONG* frequency) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD errorCode) override;
    // win32_volumes.cpp
    HANDLE FindFirstVolumeA(char* volumeName, DWORD bufferLength) override;
    BOOL FindNextVolumeA(HANDLE findVolume, char* volumeName, DWORD bufferLength) override;
    BOOL FindVolumeClose(HANDLE findVolume) override;
    BOOL GetVolumePathNamesForVolumeNameA(const char* volumeName, char* volumePathNames, DWORD bufferLength,
                                          DWORD* returnLength) override;

private:
    // kernel32's GetDiskFreeSpaceExA, or null where it has none. Stored
    // untyped: its real type needs <windows.h>.
    void (*diskFreeSpaceEx_)();
};

// Keys: HKEY_CURRENT_USER (0x80000001) stands for the system's own predefined
// key; any other value is a key handle the system handed out.
class Win32Registry final : public Registry {
public:
    LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* className, DWORD options,
                         REGSAM samDesired, void* securityAttributes, HKEY* result, DWORD* disposition) override;
    LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* dataSize) override;
    LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                        DWORD dataSize) override;
    LONG RegCloseKey(HKEY key) override;
    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM samDesired, HKEY* result) override;
    LONG RegDeleteValueA(HKEY key, const char* valueName) override;
};

// mpr, from the system folder on first use (system_library.h); without it
// each call fails with the loader's error.
class Win32Network final : public Network {
public:
    DWORD WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) override;
    DWORD WNetConnectionDialog(HWND hwnd, DWORD type) override;
    DWORD WNetDisconnectDialog(HWND hwnd, DWORD type) override;

private:
    SystemLibrary mpr_{"mpr.dll"};
};

class Win32Locale final : public Locale {
public:
    int GetLocaleInfoA(LCID locale, LCTYPE type, char* data, int dataSize) override;
};

class Win32Shell final : public Shell {
public:
    PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* bi) override;
    BOOL SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) override;
    void CoTaskMemFree(PIDLIST_ABSOLUTE pidl) override;
    HINSTANCE ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                            const char* directory, int showCommand) override;
    // The record is copied into the system's SHELLEXECUTEINFOA, whose size
    // and offsets win32_shell.cpp checks, and the answers copied back.
    BOOL ShellExecuteExA(ShellExecuteRecord& info) override;
    UINT WinExec(const char* commandLine, UINT showCommand) override;
    BOOL CloseHandle(HANDLE object) override;
    DWORD GetLastError() override;
    // Objects are the IDispatch pointers themselves; COM is initialised on
    // this thread for as long as one is alive.
    HRESULT CreateAutomationObject(const char* progId, AutomationObject* object) override;
    HRESULT GetIDsOfNames(AutomationObject object, const char* name, DISPID* id) override;
    HRESULT InvokeMethod(AutomationObject object, DISPID id, std::string& description) override;
    DWORD Release(AutomationObject object) override;
};

// Device handles come from the system's CreateFileA, so the kernel's
// CloseHandle closes them as well.
class Win32Device final : public Device {
public:
    HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                       DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) override;
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, const void* inBuffer, DWORD inBufferSize, void* outBuffer,
                         DWORD outBufferSize, DWORD* bytesReturned, void* overlapped) override;
    BOOL CloseHandle(HANDLE object) override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD errorCode) override;
};

// SIDs are the system's own: what AllocateAndInitializeSid returns and what
// the TOKEN_GROUPS entries point at are real PSIDs.
class Win32Security final : public Security {
public:
    HANDLE GetCurrentThread() override;
    HANDLE GetCurrentProcess() override;
    BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, HANDLE* token) override;
    BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) override;
    BOOL GetTokenInformation(HANDLE token, DWORD informationClass, void* information, DWORD informationLength,
                             DWORD* returnLength) override;
    BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE subAuthorityCount,
                                  DWORD subAuthority0, DWORD subAuthority1, DWORD subAuthority2, DWORD subAuthority3,
                                  DWORD subAuthority4, DWORD subAuthority5, DWORD subAuthority6, DWORD subAuthority7,
                                  PSID* sid) override;
    BOOL EqualSid(PSID sid1, PSID sid2) override;
    void* FreeSid(PSID sid) override;
    BOOL CloseHandle(HANDLE object) override;
    DWORD GetLastError() override;
};

// winmm, from the system folder on first use; without it each call answers
// MCIERR_CANNOT_LOAD_DRIVER. MCI_OPEN's parameter block is copied into the
// system's record and the device id copied back.
class Win32Multimedia final : public Multimedia {
public:
    MCIERROR mciSendStringA(const char* command, char* returnString, UINT returnLength, HWND callback) override;
    MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, std::uintptr_t flags, MCI_OPEN_PARMSA* parms) override;

private:
    SystemLibrary winmm_{"winmm.dll"};
};

// Library handles and export addresses are the system's own.
class Win32Modules final : public Modules {
public:
    HMODULE LoadLibraryExA(const char* fileName, DWORD flags) override;
    FARPROC GetProcAddress(HMODULE module, const char* procName) override;
    BOOL FreeLibrary(HMODULE module) override;
    DWORD GetLastError() override;
    void CallChkdsk(FARPROC chkdsk, const char16_t* driveRoot, const char16_t* format, BOOLEAN correctErrors,
                    BOOLEAN verbose, BOOLEAN checkOnlyIfDirty, BOOLEAN scanDrive, FMIFSCALLBACK callback) override;
};

// The management service through COM (win32_wmi.cpp): each query
// initialises COM on the calling thread for its own length, connects to
// ROOT\CIMV2, runs and reads the query, and releases every interface.
class Win32Wmi final : public Wmi {
public:
    HRESULT ExecQuery(const std::string& wql, std::vector<WmiObject>& objects) override;
};

// comdlg32's Save dialog and user32's clipboard with kernel32's global memory.
class Win32Desktop final : public Desktop {
public:
    BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) override;
    DWORD CommDlgExtendedError() override;
    BOOL OpenClipboard(HWND owner) override;
    BOOL EmptyClipboard() override;
    HANDLE SetClipboardData(UINT format, HANDLE memory) override;
    BOOL CloseClipboard() override;
    HANDLE GlobalAlloc(UINT flags, std::size_t bytes) override;
    void* GlobalLock(HANDLE memory) override;
    BOOL GlobalUnlock(HANDLE memory) override;
    HANDLE GlobalFree(HANDLE memory) override;
    DWORD GetLastError() override;
};

class Win32Platform final : public Platform {
public:
    Kernel& kernel() override { return kernel_; }
    Registry& registry() override { return registry_; }
    Network& network() override { return network_; }
    Locale& locale() override { return locale_; }
    Shell& shell() override { return shell_; }
    Device& device() override { return device_; }
    Security& security() override { return security_; }
    Multimedia& multimedia() override { return multimedia_; }
    Modules& modules() override { return modules_; }
    Wmi& wmi() override { return wmi_; }
    Desktop& desktop() override { return desktop_; }

private:
    Win32Kernel kernel_;
    Win32Registry registry_;
    Win32Network network_;
    Win32Locale locale_;
    Win32Shell shell_;
    Win32Desktop desktop_;
    Win32Device device_;
    Win32Security security_;
    Win32Multimedia multimedia_;
    Win32Modules modules_;
    Win32Wmi wmi_;
};

}  // namespace tw::platform::win32
