// What tests look at on a simulated machine: the calls it counted, the
// requests it recorded, what callers left open and what the program changed.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/machine_records.h"

namespace tw::sim {

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

// A library the program asked to load: the name as given and the flags.
struct LibraryLoad {
    std::string fileName;
    DWORD flags = 0;
    bool operator==(const LibraryLoad&) const = default;
};

// One request to the shell, the network dialogs or an automation object, as
// asked; a string the caller passed as a null pointer is none.
struct ShellRequest {
    // ShellExecuteA, ShellExecuteExA, WinExec, WNetConnectionDialog,
    // WNetDisconnectDialog, CreateAutomationObject (file: the ProgID) or
    // InvokeMethod (file: the ProgID, verb: the method's name).
    SimCall call = SimCall::ShellExecuteA;
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

struct MachineState;

// The simulated machine as a test inspects it; Machine is one.
class MachineSpy {
public:
    const std::string& Name() const;
    // Calls made, in total and for one drive letter (see docs/machine-format.md).
    int CallCount(SimCall call) const;
    int CallCount(SimCall call, char letter) const;
    void ResetCallCounts();
    // Calls that can fail made so far, and the calls the planned faults acted
    // on, in order.
    int FallibleCalls() const;
    const std::vector<SimCall>& FaultedCalls() const;
    // What the program changed on the machine, in order: definitions made and
    // removed, registry values and file bytes written, doors locked and
    // unlocked, trays ejected and loaded.
    const std::vector<std::string>& Changes() const;

    // What callers left open: registry keys, handles of every kind, SIDs,
    // automation objects and MCI devices.
    int OpenKeyCount() const;
    int OpenHandleCount() const;
    int OpenSidCount() const;
    int OpenAutomationObjectCount() const;
    int OpenMciDeviceCount() const;

    UINT CurrentErrorMode() const;
    // The error mode in force at the most recent free-space call.
    UINT ErrorModeAtLastSpaceProbe() const;
    const std::vector<RegWrite>& RegistryWrites() const;
    std::optional<RegValue> RegistryValue(const std::string& keyPath, const std::string& name) const;
    // The text of a file, none when it does not exist.
    std::optional<std::string> FileText(const std::string& path) const;
    // The title and owner window of the last folder browser.
    const std::string& LastBrowseTitle() const;
    HWND LastBrowseOwner() const;
    // Devices: every open and request in order, whether the drive's medium is
    // locked in (by the device's count or by an open handle), the
    // milliseconds slept.
    const std::vector<DeviceOpen>& DeviceOpens() const;
    const std::vector<DeviceRequest>& DeviceRequests() const;
    bool MediaLocked(char letter) const;
    DWORD SleptMilliseconds() const;
    const std::vector<MciCall>& MciCalls() const;
    // Shell, network-dialog and automation requests in order.
    const std::vector<ShellRequest>& ShellRequests() const;
    // The library checks run, and the loads of the library not yet freed.
    int ChecksRun() const;
    int LoadedLibraryCount() const;
    // Every LoadLibraryExA asked, in order, found or not.
    const std::vector<LibraryLoad>& LibraryLoads() const;
    const std::vector<SaveDialogCall>& SaveDialogs() const;
    // The text on the clipboard, none when it holds none.
    const std::optional<std::string>& ClipboardText() const;

protected:
    explicit MachineSpy(std::unique_ptr<MachineState> state);
    ~MachineSpy();
    std::unique_ptr<MachineState> state_;
};

}  // namespace tw::sim
