// Shared pieces of the real-API tests: direct Win32 queries to compare the
// program against, the user-visible texts they should turn into, and guards
// that put back the registry state a test (or the program) touches.
//
// The project headers come first: once <windows.h> is in, names such as
// HKEY_CURRENT_USER or ERROR_SUCCESS are its macros, so our own constants are
// out of reach by name. The one a test needs is copied out before.
#pragma once
#include "actions/drive_visibility.h"
#include "actions/registry_accessor.h"
#include "actions/substitution.h"
#include "cli/cli.h"
#include "inventory/device_probes.h"
#include "inventory/drive_enumeration.h"
#include "inventory/drive_row.h"
#include "platform/drive_names.h"
#include "platform/win32/win32_platform.h"

namespace tw::win32_test {
// Our value of the current user's root key, for calls through the backend.
inline constexpr tw::platform::HKEY kOurCurrentUser = tw::platform::HKEY_CURRENT_USER;
}  // namespace tw::win32_test

#include "platform/win32/windows_headers.h"
// After <windows.h>, which it needs.
#include <winnetwk.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw::win32_test {

// The list's refresh as the window runs it, with no window whose messages the
// wait for an optical drive would pump.
inline void ListDrives(platform::Platform& platform, const inventory::EnumerationOptions& options,
                       std::vector<inventory::DriveRow>& rows) {
    struct IdlePump final : optical::MessagePump {
        void ProcessMessages() override {}
    } pump;
    inventory::EnumerateDrives(platform, options, pump, rows);
}

// "C:\" and "C:" as the program builds them.
using platform::DriveName;
using platform::RootPath;

// Letters from C to Z whose bit GetLogicalDrives sets.
std::vector<char> SystemLetters();
// A letter from Y down to D that GetLogicalDrives does not report; 0 if none.
char UnusedLetter();

// GetVolumeInformationA of a root, asked directly.
struct DirectVolume {
    bool ok = false;
    std::string label;
    std::string fileSystem;
    ::DWORD serial = 0;
};
DirectVolume QueryVolume(char letter);

// GetDiskFreeSpaceExA of a root, asked directly.
struct DirectSpace {
    bool ok = false;
    std::uint64_t freeToCaller = 0;
    std::uint64_t total = 0;
};
DirectSpace QuerySpace(char letter);

// A locale string (LOCALE_SDECIMAL, LOCALE_STHOUSAND) of the user's locale.
std::string LocaleString(::LCTYPE type);

// The serial as the list shows it: "XXXX - XXXX", upper-case hexadecimal.
std::string SerialAsListed(::DWORD serial);

// The "Type" text the list shows for a drive-type code of a drive that is
// neither a substitution nor a disconnected network drive.
std::string KindTextOf(::UINT driveType);

// The number in a size text such as "12.34 GB" (decimal separator `decimal`),
// in bytes: GB and MB are binary units. nullopt when the text has another shape.
std::optional<double> ParseSizeText(const std::string& text, const std::string& decimal);
// The number in a grouped text such as "1,234,567" (thousand separator
// `thousand`); nullopt when the digits are not grouped by threes.
std::optional<std::uint64_t> ParseGrouped(const std::string& text, const std::string& thousand);

// A row of the list by drive letter, or null.
const inventory::DriveRow* FindRow(const std::vector<inventory::DriveRow>& rows, char letter);

// The shell's per-user drive policy key and its parent, relative to HKCU.
inline constexpr const char* kPoliciesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
inline constexpr const char* kExplorerPolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

bool KeyExists(const char* path);

// Records the policy keys and the "NoDrives" value as they are, removes the
// value so that a test starts without a policy, and restores everything when
// it goes: keys that did not exist are deleted again (reading the policy
// through the program creates them), a value that existed gets its old type
// and data back.
class PolicyGuard {
public:
    PolicyGuard();
    ~PolicyGuard();
    PolicyGuard(const PolicyGuard&) = delete;
    PolicyGuard& operator=(const PolicyGuard&) = delete;

    // Writes NoDrives directly (not through the program).
    void SetNoDrives(::DWORD type, const void* data, ::DWORD size);

private:
    bool policiesExisted_ = false;
    bool explorerExisted_ = false;
    bool valueExisted_ = false;
    ::DWORD valueType_ = 0;
    std::vector<BYTE> valueData_;
};

// A drive letter defined for the test with DefineDosDeviceA, removed when the
// guard goes. letter() is 0 when no letter was free or the definition failed.
class DosDeviceGuard {
public:
    explicit DosDeviceGuard(const std::string& target);
    ~DosDeviceGuard();
    DosDeviceGuard(const DosDeviceGuard&) = delete;
    DosDeviceGuard& operator=(const DosDeviceGuard&) = delete;

    char letter() const { return letter_; }
    const std::string& target() const { return target_; }

private:
    char letter_ = 0;
    std::string target_;
};

}  // namespace tw::win32_test
