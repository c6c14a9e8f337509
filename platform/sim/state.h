// Internal state of the simulated machine, shared by its service objects.
#pragma once
#include <array>
#include <deque>
#include <map>
#include <set>
#include <span>
#include <string>

#include "platform/sim/machine.h"

namespace tw::sim {

std::string UpperAscii(std::string text);
// The upper-cased letter of a path starting "X:" (either case), else 0.
char LetterOf(const char* path);

struct MachineState;

// What each service object holds: the machine it answers for.
class SimService {
public:
    explicit SimService(MachineState& s) : s_(s) {}

protected:
    MachineState& s_;
};

class SimKernel final : public Kernel, SimService {
public:
    using SimService::SimService;
    DWORD GetLogicalDrives() override;
    UINT GetDriveTypeA(const char* rootPathName) override;
    BOOL GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                               DWORD* volumeSerialNumber, DWORD* maximumComponentLength, DWORD* fileSystemFlags,
                               char* fileSystemNameBuffer, DWORD fileSystemNameSize) override;
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
    HANDLE FindFirstVolumeA(char* volumeName, DWORD bufferLength) override;
    BOOL FindNextVolumeA(HANDLE findVolume, char* volumeName, DWORD bufferLength) override;
    BOOL FindVolumeClose(HANDLE findVolume) override;
    BOOL GetVolumePathNamesForVolumeNameA(const char* volumeName, char* volumePathNames, DWORD bufferLength,
                                          DWORD* returnLength) override;
};

class SimWmiService final : public Wmi, SimService {
public:
    using SimService::SimService;
    HRESULT ExecQuery(const std::string& wql, std::vector<WmiObject>& objects) override;
};

class SimRegistry final : public Registry, SimService {
public:
    using SimService::SimService;
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

class SimNetwork final : public Network, SimService {
public:
    using SimService::SimService;
    DWORD WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) override;
    DWORD WNetConnectionDialog(HWND hwnd, DWORD type) override;
    DWORD WNetDisconnectDialog(HWND hwnd, DWORD type) override;
};

class SimLocale final : public Locale, SimService {
public:
    using SimService::SimService;
    int GetLocaleInfoA(LCID locale, LCTYPE type, char* data, int dataSize) override;
};

class SimShell final : public Shell, SimService {
public:
    using SimService::SimService;
    PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* bi) override;
    BOOL SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) override;
    void CoTaskMemFree(PIDLIST_ABSOLUTE pidl) override;
    HINSTANCE ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                            const char* directory, int showCommand) override;
    BOOL ShellExecuteExA(ShellExecuteRecord& info) override;
    UINT WinExec(const char* commandLine, UINT showCommand) override;
    BOOL CloseHandle(HANDLE object) override;
    DWORD GetLastError() override;
    HRESULT CreateAutomationObject(const char* progId, AutomationObject* object) override;
    HRESULT GetIDsOfNames(AutomationObject object, const char* name, DISPID* id) override;
    HRESULT InvokeMethod(AutomationObject object, DISPID id, std::string& description) override;
    DWORD Release(AutomationObject object) override;
};

class SimDesktop final : public Desktop, SimService {
public:
    using SimService::SimService;
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

class SimDeviceService final : public Device, SimService {
public:
    using SimService::SimService;
    HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                       DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) override;
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, const void* inBuffer, DWORD inBufferSize, void* outBuffer,
                         DWORD outBufferSize, DWORD* bytesReturned, void* overlapped) override;
    BOOL CloseHandle(HANDLE object) override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD errorCode) override;
};

class SimSecurity final : public Security, SimService {
public:
    using SimService::SimService;
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

class SimMultimedia final : public Multimedia, SimService {
public:
    using SimService::SimService;
    MCIERROR mciSendStringA(const char* command, char* returnString, UINT returnLength, HWND callback) override;
    MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, std::uintptr_t flags, MCI_OPEN_PARMSA* parms) override;
};

class SimModules final : public Modules, SimService {
public:
    using SimService::SimService;
    HMODULE LoadLibraryExA(const char* fileName, DWORD flags) override;
    FARPROC GetProcAddress(HMODULE module, const char* procName) override;
    BOOL FreeLibrary(HMODULE module) override;
    DWORD GetLastError() override;
    void CallChkdsk(FARPROC chkdsk, const char16_t* driveRoot, const char16_t* format, BOOLEAN correctErrors,
                    BOOLEAN verbose, BOOLEAN checkOnlyIfDirty, BOOLEAN scanDrive, FMIFSCALLBACK callback) override;
};

struct OpenFile {
    std::string path;            // upper-cased key into MachineState::files
    std::uint64_t position = 0;  // 64-bit in every build, like the real file pointer
    DWORD access = 0;
    DWORD flags = 0;  // as opened: unbuffered handles want whole sectors
};

struct OpenDevice {
    char letter = 0;
    std::string path;  // as opened
    DWORD access = 0;
    DWORD share = 0;
    int ejectionLocks = 0;         // ejection-control locks: this handle's own
    PhysicalDisk* disk = nullptr;  // a physical disk's handle: its disk
    bool driver = false;           // the 9x SMART driver's handle
};

// What the machine holds, apart from its services: copied whole by Clone.
struct MachineData {
    std::string name = "machine";
    std::map<char, SimDrive> drives;
    std::map<std::string, RegKey> keys;
    std::map<HKEY, std::string> openKeys;  // handle -> upper-cased key path
    HKEY nextKey = 0x1000;
    std::set<std::uintptr_t> openHandles;
    std::vector<RegWrite> writes;
    std::array<int, kSimCallCount> calls{};
    std::map<std::pair<SimCall, char>, int> callsFor;  // by call and drive letter
    DWORD lastError = 0;
    UINT errorMode = 0;
    UINT errorModeAtSpaceProbe = 0;
    bool freeSpaceEx = true;
    std::string decimal = ".";
    std::string thousand = ",";
    OSVERSIONINFOA version{sizeof(OSVERSIONINFOA), 5, 1, 2600, VER_PLATFORM_WIN32_NT, {}};
    // Definitions made with DefineDosDeviceA, most recent last, in NT form.
    std::map<char, std::vector<std::string>> definitions;
    std::map<std::string, SimFile> files;  // by upper-cased path
    std::map<HANDLE, OpenFile> openFiles;
    HANDLE nextHandle = 0x100;
    // The folder browser's answers in turn; an empty one is a cancel.
    std::deque<std::optional<std::string>> browserAnswers;
    std::map<PIDLIST_ABSOLUTE, std::string> pidls;
    std::string lastBrowseTitle;
    HWND lastBrowseOwner = 0;
    // Folders described, upper-cased, without a trailing backslash.
    std::set<std::string> folders;
    std::map<HANDLE, OpenDevice> openDevices;
    std::vector<DeviceOpen> deviceOpens;
    std::vector<DeviceRequest> deviceRequests;
    std::map<int, PhysicalDisk> physicalDisks;  // by disk number
    std::optional<PhysicalDisk> smartVsd;       // what the 9x SMART driver serves
    DWORD slept = 0;
    SimToken token;
    std::set<HANDLE> openTokens;
    std::map<PSID, std::vector<BYTE>> sids;  // allocated SIDs by address
    SimMci mci;
    std::map<MCIDEVICEID, std::string> openMci;  // device id -> element
    MCIDEVICEID nextMci = 1;
    std::vector<MciCall> mciCalls;
    std::vector<std::pair<FaultRule, int>> faults;  // with the matching calls seen
    std::vector<SimCall> faultedCalls;              // the calls the faults acted on
    int fallibleCalls = 0;
    std::vector<std::string> changes;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    std::string programPath = "C:\\Tarnwell\\tarnwell.exe";  // the running program's file
    std::vector<ShellRequest> shellRequests;
    std::set<HANDLE> processes;  // started by ShellExecuteExA, not yet closed
    std::vector<ShellRefusal> shellRefusals;
    struct AutomationObjectState {
        std::string progId;
        std::vector<std::string> names;  // DISPID n + 1 is names[n]
    };
    std::map<AutomationObject, AutomationObjectState> automationObjects;
    SimFmifs fmifs;
    int loadedLibraries = 0;
    std::vector<LibraryLoad> libraryLoads;
    int checksRun = 0;
    ULONGLONG clockMicroseconds = 0;
    SimWmi wmiData;
    std::vector<SimVolume> volumes;
    std::map<HANDLE, size_t> volumeSearches;  // search handle -> next volume
};

struct MachineState : MachineData {
    SimKernel kernel{*this};
    SimRegistry registry{*this};
    SimNetwork network{*this};
    SimLocale locale{*this};
    SimShell shell{*this};
    SimDeviceService device{*this};
    SimSecurity security{*this};
    SimMultimedia multimedia{*this};
    SimModules modules{*this};
    SimWmiService wmi{*this};
    SimDesktop desktop{*this};

    // The Save dialog: the answers queued for it (none: the user cancels),
    // every showing, and its extended error.
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<SaveDialogCall> saveDialogs;
    DWORD dialogError = 0;
    // The clipboard: its owner while open, its text, the global blocks.
    bool clipboardOpen = false;
    std::optional<std::string> clipboardText;
    std::map<HANDLE, std::vector<char>> globalBlocks;

    // Counts a call, raises when the description says it raises for `letter`,
    // and applies the planned faults: the error the call fails with, or 0.
    DWORD Enter(SimCall call, char letter = 0);
    // Enter for a call that fails with the fault as its last error: true when
    // it does.
    bool Faulted(SimCall call, char letter = 0);
    // How a call ends that reports its error as the last error.
    template <typename T = BOOL>
    T Fail(DWORD error, T result = FALSE) {
        lastError = error;
        return result;
    }
    template <typename T = BOOL>
    T Succeed(T result = TRUE) {
        lastError = ERROR_SUCCESS;
        return result;
    }
    // The drive's medium is taken out: its volume and space answer
    // ERROR_NOT_READY, its SCSI target answers as a drive without a disc.
    void RemoveMedium(char letter);
    // The drive is unplugged: its letter names nothing, its device no longer
    // opens, and handles already open to it fail every request.
    void RemoveDrive(char letter);
    // The drive a root path, device name or local name names, or null.
    SimDrive* DriveOf(const char* path);
    // The drive whose volume answers for `letter`: the target's drive of a
    // substitution, the letter's own when present, else null.
    SimDrive* Effective(char letter, int depth = 0);
    bool Present(char letter);
    HANDLE NewHandle();
    OpenFile* FileFor(HANDLE file, DWORD access);
    // False, with ERROR_INVALID_PARAMETER, for a transfer an unbuffered
    // handle cannot make.
    bool Aligned(const OpenFile& open, const void* buffer, DWORD bytes);
    // Moves the clock on by the time the drive takes for the transfer.
    void Spend(const OpenFile& open, DWORD bytes, bool write);
    // A described folder, an ancestor of one, or the root of a present drive;
    // `path` upper-cased, without a trailing backslash.
    bool IsFolder(const std::string& path);
    // Opens "\\.\X:"; the kernel's CreateFileA hands device paths here.
    HANDLE OpenDevicePath(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
    // "\\.\PhysicalDriveN" and "\\.\SMARTVSD" (sim_disks.cpp).
    bool IsDiskPath(const std::string& path);
    PhysicalDisk* DiskOfPath(const std::string& path);
    HANDLE OpenDiskPath(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
    BOOL DiskRequest(OpenDevice& open, DWORD code, std::span<const BYTE> input, void* outBuffer, DWORD outSize,
                     DWORD* bytesReturned);
    // The health requests of a physical disk's handle: the storage property
    // query, ATA and SCSI pass-through (sim_health_disks.cpp). None: `code`
    // is not one of them.
    std::optional<BOOL> HealthRequest(PhysicalDisk& disk, DWORD code, std::span<const BYTE> input, void* outBuffer,
                                      DWORD outSize, DWORD* bytesReturned);
    // Closes a handle of any kind: file, device or token.
    BOOL Close(HANDLE object);
    bool IsAdministrator() const;
    // Records a request and answers the description's refusal of it, or 0.
    DWORD Request(ShellRequest request, std::string* description = nullptr);
    // The volume a volume name ("\\?\Volume{GUID}\") names, or null; and
    // the drive record that answers for it (its letter's, or its own).
    SimVolume* VolumeNamed(const char* name);
    SimDrive* DriveOfVolume(SimVolume& volume);
};

}  // namespace tw::sim
