// What a machine description holds: the drives and their devices, the
// registry, files, the user's token and the other services' answers, and the
// faults planned for it. The loader fills these from a machine file
// (docs/machine-format.md); tests may build or change them in code.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/device_records.h"
#include "platform/platform.h"
#include "platform/sim/physical_disk.h"
#include "platform/sim/sim_call.h"

namespace tw::sim {

using namespace tw::platform;

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
// operation code; a command with none answers CHECK CONDITION, and so do the
// commands that need a disc while there is none or it is still spinning up.
struct ScsiTarget {
    std::map<BYTE, std::vector<BYTE>> replies;
    bool medium = true;              // a disc is in the drive
    int notReady = 0;                // TEST UNIT READYs answered "becoming ready"; -1: all
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
    // Media-removal locks are counted by the device, whoever sent them, and
    // outlive the handle that sent them.
    int mediaLocks = 0;
    std::optional<DWORD> physicalDisk;  // none: the device number request fails
    DWORD partition = 1;
    bool removed = false;  // unplugged: handles still open to it fail every request
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
    DWORD defineError = ERROR_SUCCESS;      // DefineDosDeviceA defining the letter fails with this
    std::map<SimCall, std::string> raises;  // call -> fault text
    std::optional<SimDevice> device;        // none: "\\.\X:" does not open
    SimIo io;
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

// A planned fault: the `nth` call matching `call` (none: any call that can
// fail) and `letter` (0: any drive) fails with `error` before doing anything,
// or, with `removeMedium`, finds the medium of `letter` gone, or, with
// `removeDrive`, finds the whole drive unplugged.
struct FaultRule {
    std::optional<SimCall> call;
    char letter = 0;
    int nth = 1;
    DWORD error = ERROR_GEN_FAILURE;
    bool removeMedium = false;
    bool removeDrive = false;
};

// The description's refusal of requests: every one of `call` whose file (and
// verb, when given) match without regard to case fails with `error`.
struct ShellRefusal {
    SimCall call = SimCall::ShellExecuteA;
    std::optional<std::string> file;
    std::optional<std::string> verb;
    DWORD error = 0;
    std::string description;  // InvokeMethod: the object's own words for it
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

}  // namespace tw::sim
