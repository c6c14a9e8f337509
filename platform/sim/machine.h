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

#include "platform/platform.h"

namespace tw::sim {

using namespace tw::platform;

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

struct RegWrite {
    std::string key;
    std::string name;
    RegValue value;
};

class Machine final : public Platform {
public:
    // Throws MachineFormatError naming `origin` (a file name) and what is wrong.
    static std::unique_ptr<Machine> FromJsonText(const std::string& text, const std::string& origin);
    static std::unique_ptr<Machine> FromFile(const std::string& path);

    Machine();
    ~Machine() override;

    Kernel& kernel() override;
    Registry& registry() override;
    Network& network() override;
    Locale& locale() override;
    Shell& shell() override;

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

    // Direct access for tests that build a machine in code.
    std::map<char, SimDrive>& Drives();
    std::map<std::string, RegKey>& RegistryKeys();  // by upper-cased full path
    void SetLocale(std::string decimal, std::string thousand);
    void SetFreeSpaceExAvailable(bool available);

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace tw::sim
