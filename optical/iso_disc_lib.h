// TISODiscLib: talks to CD and DVD drives in SCSI Multimedia Commands
// through pass-through on a drive handle. It decides once whether
// pass-through may be used at all (Windows NT 4 or later, and the user an
// administrator), opens drives, and turns a drive's capabilities page into
// the capability text. It keeps no handle: whoever opens a drive closes it
// with CloseDrive. Failures come back as results, never as messages.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "optical/message_pump.h"
#include "optical/scsi_commands.h"
#include "platform/device.h"
#include "platform/kernel.h"
#include "platform/platform.h"
#include "platform/security.h"

namespace tw::optical {

class TISODiscLib {
public:
    // Decides PassThroughAllowed; asks the token only on NT 4 or later.
    TISODiscLib(platform::Platform& platform, MessagePump& pump);
    TISODiscLib(platform::Kernel& kernel, platform::Device& device, platform::Security& security, MessagePump& pump);

    bool PassThroughAllowed() const { return passThroughAllowed_; }

    // The version code of WindowsVersionCode (windows_version.h).
    int GetWindowsVersion();
    // Whether the thread's token, or failing that the process's, holds the
    // Administrators alias, enabled or not.
    bool IsAdministrator();

    // "\\.\" + letter + ":" for reading and writing; INVALID_HANDLE_VALUE
    // without a call when pass-through is not allowed.
    platform::HANDLE OpenDrive(char letter);
    // OpenDrive for a drive of type DRIVE_CDROM only.
    platform::HANDLE OpenCDDrive(char letter);
    bool CloseDrive(platform::HANDLE handle);

    bool TestUnitReady(platform::HANDLE handle);
    // Profile index 0-19 (profile_table.h), or -1 when the request fails or
    // the profile is not in the table.
    int GetCurrentProfile(platform::HANDLE handle);
    bool ReadDVDPhysicalFormat(platform::HANDLE handle, std::span<std::uint8_t, kDvdPhysicalFormatReplySize> buffer);
    bool ReadCapabilitiesPage(platform::HANDLE handle, std::span<std::uint8_t, kCapabilitiesReplySize> buffer);

    // Waits for the drive (up to ten attempts of 100 ms, pumping messages),
    // then stores its capability text in `text`. An invalid handle, a drive
    // that never becomes ready and an unknown profile leave `text` as it was.
    void GetDriveCapabilities(platform::HANDLE handle, std::string& text);

private:
    platform::Kernel& kernel_;
    platform::Device& device_;
    platform::Security& security_;
    MessagePump& pump_;
    bool passThroughAllowed_ = false;
};

}  // namespace tw::optical
