#include "optical/iso_disc_lib.h"

#include <algorithm>
#include <array>
#include <vector>

#include "optical/capability_text.h"
#include "optical/mmc_commands.h"
#include "optical/profile_table.h"
#include "optical/windows_version.h"
#include "platform/device_records.h"
#include "platform/drive_names.h"

namespace tw::optical {
namespace {

constexpr int kReadyAttempts = 10;
constexpr platform::DWORD kReadyPauseMilliseconds = 100;

}  // namespace

TISODiscLib::TISODiscLib(platform::Platform& platform, MessagePump& pump)
    : TISODiscLib(platform.kernel(), platform.device(), platform.security(), pump) {}

TISODiscLib::TISODiscLib(platform::Kernel& kernel, platform::Device& device, platform::Security& security,
                         MessagePump& pump)
    : kernel_(kernel), device_(device), security_(security), pump_(pump) {
    passThroughAllowed_ = IsPassThroughVersion(GetWindowsVersion()) && IsAdministrator();
}

int TISODiscLib::GetWindowsVersion() {
    platform::OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!kernel_.GetVersionExA(&version)) return kUnknownWindows;
    return WindowsVersionCode(version);
}

bool TISODiscLib::IsAdministrator() {
    platform::HANDLE token = 0;
    if (!security_.OpenThreadToken(security_.GetCurrentThread(), platform::TOKEN_QUERY, platform::TRUE, &token)) {
        if (security_.GetLastError() != platform::ERROR_NO_TOKEN) return false;
        if (!security_.OpenProcessToken(security_.GetCurrentProcess(), platform::TOKEN_QUERY, &token)) return false;
    }
    // Ask the size first: tokens of large domains carry group lists of many
    // kilobytes, and a fixed buffer would call their administrators
    // ordinary users. The buffer is of pointers, as the entries hold SIDs.
    platform::DWORD needed = 0;
    security_.GetTokenInformation(token, platform::TokenGroups, nullptr, 0, &needed);
    std::vector<std::uintptr_t> storage((needed + sizeof(std::uintptr_t) - 1) / sizeof(std::uintptr_t));
    platform::DWORD written = 0;
    const bool read = needed != 0 && security_.GetTokenInformation(token, platform::TokenGroups, storage.data(), needed,
                                                                   &written) != platform::FALSE;
    security_.CloseHandle(token);
    if (!read) return false;

    platform::PSID administrators = nullptr;
    if (!security_.AllocateAndInitializeSid(&platform::SECURITY_NT_AUTHORITY, 2, platform::SECURITY_BUILTIN_DOMAIN_RID,
                                            platform::DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(storage.data()),
                                              std::min<std::size_t>(written, needed));
    // A list whose count promises more entries than it holds is not trusted.
    const auto groups = platform::DecodeTokenGroups(bytes);
    bool member = false;
    for (const platform::SidAndAttributes& group : groups.value_or(std::vector<platform::SidAndAttributes>{})) {
        if (security_.EqualSid(reinterpret_cast<platform::PSID>(group.sid), administrators)) {
            member = true;
            break;
        }
    }
    security_.FreeSid(administrators);
    return member;
}

platform::HANDLE TISODiscLib::OpenDrive(char letter) {
    if (!passThroughAllowed_) return platform::INVALID_HANDLE_VALUE;
    return device_.CreateFileA(platform::VolumeDevicePath(letter).c_str(),
                               platform::GENERIC_READ | platform::GENERIC_WRITE,
                               platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE, nullptr, platform::OPEN_EXISTING,
                               platform::FILE_ATTRIBUTE_NORMAL, 0);
}

platform::HANDLE TISODiscLib::OpenCDDrive(char letter) {
    if (!passThroughAllowed_) return platform::INVALID_HANDLE_VALUE;
    if (kernel_.GetDriveTypeA(platform::DriveName(letter).c_str()) != platform::DRIVE_CDROM) {
        return platform::INVALID_HANDLE_VALUE;
    }
    return OpenDrive(letter);
}

bool TISODiscLib::CloseDrive(platform::HANDLE handle) { return device_.CloseHandle(handle) != platform::FALSE; }

bool TISODiscLib::TestUnitReady(platform::HANDLE handle) { return optical::TestUnitReady(device_, handle); }

int TISODiscLib::GetCurrentProfile(platform::HANDLE handle) {
    // Zeroed so a drive that writes less than the header reads as profile 0
    // rather than as whatever the stack held.
    std::array<std::uint8_t, kGetConfigurationReplySize> reply{};
    if (!GetConfiguration(device_, handle, reply)) return kNoProfile;
    return CurrentProfileIndex(reply);
}

bool TISODiscLib::ReadDVDPhysicalFormat(platform::HANDLE handle,
                                        std::span<std::uint8_t, kDvdPhysicalFormatReplySize> buffer) {
    return ReadDvdPhysicalFormat(device_, handle, buffer);
}

bool TISODiscLib::ReadCapabilitiesPage(platform::HANDLE handle,
                                       std::span<std::uint8_t, kCapabilitiesReplySize> buffer) {
    return ModeSenseCapabilities(device_, handle, buffer);
}

void TISODiscLib::GetDriveCapabilities(platform::HANDLE handle, std::string& text) {
    if (handle == platform::INVALID_HANDLE_VALUE) return;
    bool ready = false;
    for (int attempt = 0; attempt < kReadyAttempts && !ready; ++attempt) {
        device_.Sleep(kReadyPauseMilliseconds);
        pump_.ProcessMessages();
        ready = TestUnitReady(handle);
    }
    if (!ready) return;

    const int profile = GetCurrentProfile(handle);
    if (profile == kNoProfile) return;
    if (IsDvdProfile(profile)) {
        // Asked of DVD drives before the page; its answer is not shown.
        std::array<std::uint8_t, kDvdPhysicalFormatReplySize> physical{};
        ReadDVDPhysicalFormat(handle, physical);
    }
    // A page that could not be read stays zeroed and still makes a text.
    std::array<std::uint8_t, kCapabilitiesReplySize> page{};
    ReadCapabilitiesPage(handle, page);
    text = CapabilityText(page);
}

}  // namespace tw::optical
