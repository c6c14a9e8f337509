// A simulated Windows machine read from a JSON description (see
// docs/machine-format.md). It answers the platform calls the way Windows does,
// failures and last-error codes included, and keeps count of what callers left
// open so tests can check that every handle and key was closed.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/device_records.h"
#include "platform/platform.h"
#include "platform/sim/physical_disk.h"

namespace tw::sim {

using namespace tw::platform;

// Limits of a machine description: far above any real one, low enough that a
// hostile file costs little.
inline constexpr std::size_t kMaxMachineFileSize = 4 * 1024 * 1024;
inline constexpr int kMaxMachineFileDepth = 32;

// A malformed or unreadable machine description.
class MachineFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A call the description says raises instead of returning: the simulated
// counterpart of a fault inside a system call.
class SimulatedFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct VolumeInfo {
    std::string label;
    DWORD serial = 0;
    std::string fileSystem;
    DWORD maxComponentLength = 255;
    DWORD flags = 0;
};

struct SpaceInfo {
    ULONGLONG total = 0;
    ULONGLONG freeToCaller = 0;
    ULONGLONG totalFree = 0;
    DWORD bytesPerSector = 512;
    DWORD sectorsPerCluster = 8;
};

// Either a value or the error code the call fails with.
template <typename T>
struct Answer {
    std::optional<T> value;
    DWORD error = ERROR_SUCCESS;
};

// SCSI operation codes the simulated target answers.
constexpr BYTE kTestUnitReady = 0x00;
constexpr BYTE kInquiry = 0x12;
constexpr BYTE kGetConfiguration = 0x46;
constexpr BYTE kModeSense10 = 0x5A;
constexpr BYTE kReadDvdStructure = 0xAD;

// The drive behind a pass-through handle. Replies are whole reply bytes by
// operation code; a command with none answers CHECK CONDITION.
struct ScsiTarget {
    std::map<BYTE, std::vector<BYTE>> replies;
    int notReady = 0;                // TEST UNIT READY attempts that fail; -1: all
    std::map<BYTE, DWORD> failures;  // operation code -> last error of the failed request
    bool adminOnly = false;          // refused unless the user is an administrator
};

// The device a volume path ("\\.\E:") opens.
struct SimDevice {
    DWORD openError = ERROR_SUCCESS;
    bool inUse = false;  // another program holds a shared read handle
    std::optional<ScsiTarget> scsi;
    Answer<DeviceDescriptor> storage;
    DWORD ejectError = ERROR_SUCCESS;
    DWORD loadError = ERROR_SUCCESS;
    DWORD lockError = ERROR_SUCCESS;
    std::optional<DWORD> physicalDisk;  // none: the device number request fails
    DWORD partition = 1;
};

// How fast files on a drive are read and written: each read or write moves
// the machine's clock on by the access time plus the bytes at the drive's
// rate (MB = 1,000,000 bytes). Writes fail once `writeErrorAfter` bytes
// have been written to the drive's files.
struct SimIo {
    DWORD readMBs = 200;
    DWORD writeMBs = 100;
    DWORD accessMicroseconds = 100;
    std::optional<ULONGLONG> writeErrorAfter;
    DWORD writeError = ERROR_IO_DEVICE;
    ULONGLONG written = 0;
};

// One call of the check entry's callback: a percentage, a text, "the
// volume is in use", or the final result.
struct CheckStep {
    enum class Kind { Progress, Output, VolumeInUse, Done };
    Kind kind = Kind::Output;
    DWORD percent = 0;
    std::string text;
    bool sound = true;
};

// The file-system utility library: whether it loads, whether it has the
// check entry, and what the entry tells its callback per drive, checking
// only and fixing.
struct SimFmifs {
    bool present = false;
    bool checkEntry = true;
    std::map<char, std::vector<CheckStep>> checks;
    std::map<char, std::vector<CheckStep>> fixes;
};

struct SimDrive {
    char letter = 'C';
    bool present = true;
    UINT type = DRIVE_FIXED;
    Answer<VolumeInfo> volume;
    Answer<SpaceInfo> space;
    Answer<std::string> connection;  // remote name; error when not redirected
    std::string dosDevice;
    DWORD defineError = ERROR_SUCCESS;          // DefineDosDeviceA defining the letter fails with this
    std::map<std::string, std::string> raises;  // call name -> fault text
    std::optional<SimDevice> device;            // none: "\\.\X:" does not open
    SimIo io;
};

// One CreateFileA of a device path, as asked.
struct DeviceOpen {
    std::string path;
    DWORD access = 0;
    DWORD share = 0;
    DWORD disposition = 0;
    DWORD flags = 0;
    DWORD error = ERROR_SUCCESS;  // ERROR_SUCCESS: the open succeeded
};

// One DeviceIoControl on a device handle, refused ones included.
struct DeviceRequest {
    std::string path;  // as the handle was opened
    DWORD code = 0;
    std::vector<BYTE> input;
    DWORD outputSize = 0;
    std::vector<BYTE> cdb;  // pass-through: the CdbLength bytes of the CDB
};

// The access token of the simulated user.
struct SimToken {
    enum class Admin { kNo, kYes, kDenyOnly };
    Admin administrator = Admin::kYes;
    int extraGroups = 0;              // domain groups that lengthen the list
    bool threadToken = false;         // the thread impersonates (has a token of its own)
    DWORD openError = ERROR_SUCCESS;  // OpenProcessToken fails with this
};

// Outcomes of the multimedia calls.
struct SimMci {
    MCIERROR stringError = 0;
    MCIERROR openError = 0;
    MCIERROR setError = 0;
    MCIERROR closeError = 0;
};

// One MCI call: a command string, or a command message with its block.
struct MciCall {
    std::string command;  // mciSendStringA; empty for mciSendCommandA
    MCIDEVICEID device = 0;
    UINT message = 0;
    std::uintptr_t flags = 0;
    std::string deviceType;
    std::string element;
    MCIERROR result = 0;
};

struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegKey {
    std::map<std::string, RegValue> values;  // by upper-cased name
    DWORD createError = ERROR_SUCCESS;       // RegCreateKeyExA fails with this
    DWORD setError = ERROR_SUCCESS;          // RegSetValueExA fails with this
};

struct SimFile {
    std::optional<std::string> text;   // none: the file does not exist
    DWORD openError = ERROR_SUCCESS;   // CreateFileA fails with this
    DWORD writeError = ERROR_SUCCESS;  // WriteFile fails with this
};

// A planned fault: the `nth` call matching `call` (empty: any call that can
// fail) and `letter` (0: any drive) fails with `error` before doing anything,
// or, with `removeMedium`, finds the medium of `letter` gone.
struct FaultRule {
    std::string call;
    char letter = 0;
    int nth = 1;
    DWORD error = ERROR_GEN_FAILURE;
    bool removeMedium = false;
};

// One request to the shell, the network dialogs or an automation object, as
// asked; a string the caller passed as a null pointer is none.
struct ShellRequest {
    // "ShellExecuteA", "ShellExecuteExA", "WinExec", "WNetConnectionDialog",
    // "WNetDisconnectDialog", "CreateAutomationObject" (file: the ProgID) or
    // "InvokeMethod" (file: the ProgID, verb: the method's name).
    std::string call;
    std::optional<std::string> verb;
    std::optional<std::string> file;  // WinExec: the command line
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
    int show = 0;
    HWND window = 0;
    DWORD size = 0;   // ShellExecuteExA: cbSize
    DWORD mask = 0;   // ShellExecuteExA: fMask
    DWORD type = 0;   // network dialogs: the resource type
    DWORD error = 0;  // the code it was refused with; 0 when it was done
};

// The description's refusal of requests: every one of `call` whose file (and
// verb, when given) match without regard to case fails with `error`.
struct ShellRefusal {
    std::string call;
    std::optional<std::string> file;
    std::optional<std::string> verb;
    DWORD error = 0;
};

// A disk drive as the management service describes it, with its partitions
// and the drive letters on each.
struct SimPartition {
    std::optional<ULONGLONG> size;
    std::vector<char> letters;
};

struct SimDiskDrive {
    int index = 0;  // the disk number: "\\.\PHYSICALDRIVE<index>"
    std::optional<std::string> model;
    std::optional<std::string> serial;
    std::optional<std::string> mediaType;
    std::optional<std::string> interfaceType;
    std::optional<std::string> pnpDeviceId;
    std::optional<ULONGLONG> size;  // none: no medium in the drive
    std::vector<SimPartition> partitions;
};

// The management service: its disks, or the result code every query fails with.
struct SimWmi {
    std::int32_t error = 0;
    std::vector<SimDiskDrive> disks;
};

// A volume of the volume manager. One with a letter answers through that
// letter's drive; one without answers from its own record.
struct SimVolume {
    std::string name;  // "\\?\Volume{GUID}\"
    char letter = 0;
    std::vector<std::string> mountPoints;  // folders, ending in a backslash
    SimDrive drive;
};

struct RegWrite {
    std::string key;
    std::string name;
    RegValue value;
};

// One showing of the Save dialog: what the program asked and what the user
// answered (none: cancelled).
struct SaveDialogCall {
    HWND owner = 0;
    std::string title;
    std::string filter;  // the filter pairs, each text ended by "|"
    DWORD filterIndex = 0;
    std::string initialName;
    std::optional<std::string> answer;
};

class Machine final : public Platform {
public:
    // Throws MachineFormatError naming `origin` (a file name) and what is wrong.
    static std::unique_ptr<Machine> FromJsonText(const std::string& text, const std::string& origin);
    static std::unique_ptr<Machine> FromFile(const std::string& path);

    Machine();
    ~Machine() override;

    // A machine in the same state as this one, which must have nothing open
    // (no handle, key, SID or device): loading a description once and
    // cloning it is much faster than loading it again.
    std::unique_ptr<Machine> Clone() const;

    Kernel& kernel() override;
    Registry& registry() override;
    Network& network() override;
    Locale& locale() override;
    Shell& shell() override;
    Device& device() override;
    Security& security() override;
    Multimedia& multimedia() override;
    Modules& modules() override;
    Wmi& wmi() override;
    Desktop& desktop() override;

    // What tests look at.
    int OpenKeyCount() const;
    int OpenHandleCount() const;
    int CallCount(const std::string& call) const;
    int CallCount(const std::string& call, char letter) const;
    void ResetCallCounts();
    UINT CurrentErrorMode() const;
    // The error mode in force at the most recent free-space call.
    UINT ErrorModeAtLastSpaceProbe() const;
    const std::vector<RegWrite>& RegistryWrites() const;
    std::optional<RegValue> RegistryValue(const std::string& keyPath, const std::string& name) const;
    const std::string& Name() const;
    // The text of a file, none when it does not exist.
    std::optional<std::string> FileText(const std::string& path) const;
    const std::string& LastBrowseTitle() const;
    // The owner window of the last folder browser.
    HWND LastBrowseOwner() const;
    // Devices: every open and request in order, the media locks held by
    // open handles, the milliseconds slept.
    const std::vector<DeviceOpen>& DeviceOpens() const;
    const std::vector<DeviceRequest>& DeviceRequests() const;
    bool MediaLocked(char letter) const;
    DWORD SleptMilliseconds() const;
    // SIDs allocated and not yet freed.
    int OpenSidCount() const;
    const std::vector<MciCall>& MciCalls() const;
    // Shell, network-dialog and automation requests in order, and the
    // automation objects not yet released.
    const std::vector<ShellRequest>& ShellRequests() const;
    int OpenAutomationObjectCount() const;
    std::vector<ShellRefusal>& ShellRefusals();
    int OpenMciDeviceCount() const;
    // The clock's microseconds so far; the library checks run and whether a
    // library is still loaded.
    ULONGLONG ClockMicroseconds() const;
    int ChecksRun() const;
    int LoadedLibraryCount() const;

    // Fault injection (docs/machine-format.md, "Injected faults").
    void AddFault(FaultRule rule);
    void ClearFaults();
    // Faults that fired since they were added.
    int FaultsFired() const;
    // Calls that can fail made so far.
    int FallibleCalls() const;
    // What the program changed on the machine, in order: definitions made and
    // removed, registry values and file bytes written, doors locked and
    // unlocked, trays ejected and loaded.
    const std::vector<std::string>& Changes() const;
    // The Save dialog answers the next showing with `path`; none cancels it.
    void QueueSaveAnswer(std::optional<std::string> path);
    const std::vector<SaveDialogCall>& SaveDialogs() const;
    // The text on the clipboard, none when it holds none.
    const std::optional<std::string>& ClipboardText() const;
    // Global memory blocks neither freed nor handed to the clipboard.
    int OpenGlobalBlockCount() const;

    // Direct access for tests that build a machine in code.
    std::map<char, SimDrive>& Drives();
    std::map<std::string, RegKey>& RegistryKeys();  // by upper-cased full path
    void SetLocale(std::string decimal, std::string thousand);
    void SetFreeSpaceExAvailable(bool available);
    SimToken& Token();
    SimMci& Mci();
    // Physical disks by number (NT family), and the devices the 9x SMART
    // driver serves.
    std::map<int, PhysicalDisk>& PhysicalDisks();
    std::optional<PhysicalDisk>& SmartVsd();
    SimWmi& WmiService();
    std::vector<SimVolume>& Volumes();
    // The management queries asked, in order.
    const std::vector<std::string>& WmiQueries() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace tw::sim
