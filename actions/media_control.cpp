#include "actions/media_control.h"

#include <array>
#include <cstdint>

#include "optical/mmc_commands.h"
#include "optical/profile_table.h"
#include "platform/device_records.h"
#include "platform/drive_names.h"

namespace tw::actions {

using namespace tw::platform;

namespace {

// One request on an opened device; the handle is closed on every path.
template <typename Send>
MediaOutcome OnDevice(Device& device, const std::string& path, DWORD access, DWORD share, DWORD flags, Send send) {
    MediaOutcome outcome;
    const HANDLE handle = device.CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, flags, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        outcome.error = device.GetLastError();
        return outcome;
    }
    outcome.opened = true;
    outcome.done = send(handle);
    if (!outcome.done) outcome.error = device.GetLastError();
    device.CloseHandle(handle);
    return outcome;
}

bool Request(Device& device, HANDLE handle, DWORD code, const void* in = nullptr, DWORD inSize = 0) {
    DWORD returned = 0;
    return device.DeviceIoControl(handle, code, in, inSize, nullptr, 0, &returned, nullptr) != FALSE;
}

}  // namespace

MediaOutcome LoadMedium(Device& device, char letter) {
    return OnDevice(device, VolumeDevicePath(letter), GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_READONLY,
                    [&](HANDLE h) { return Request(device, h, IOCTL_STORAGE_LOAD_MEDIA); });
}

MediaOutcome EjectMedium(Device& device, char letter) {
    return OnDevice(device, VolumeDevicePath(letter), GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_READONLY,
                    [&](HANDLE h) { return Request(device, h, IOCTL_STORAGE_EJECT_MEDIA); });
}

MediaOutcome SetDoorLock(Device& device, char letter, bool lock, int times) {
    const auto prevent = EncodePreventMediaRemoval(lock);
    int sent = 0;
    MediaOutcome outcome = OnDevice(device, VolumeDevicePath(letter), GENERIC_READ, 0, 0, [&](HANDLE h) {
        for (; sent < times; ++sent) {
            if (!Request(device, h, IOCTL_STORAGE_MEDIA_REMOVAL, prevent.data(), static_cast<DWORD>(prevent.size())))
                return false;
        }
        return true;
    });
    outcome.sent = sent;
    return outcome;
}

MCIERROR DefaultTray(Multimedia& multimedia, bool open, HWND callbackWindow) {
    return multimedia.mciSendStringA(open ? "Set cdaudio door open wait" : "Set cdaudio door closed wait", nullptr, 0,
                                     callbackWindow);
}

MCIERROR DoorByMci(Multimedia& multimedia, char letter, DWORD doorFlag) {
    const std::string element = DriveName(letter);
    MCI_OPEN_PARMSA parms;
    parms.lpstrDeviceType = "CDAudio";
    parms.lpstrElementName = element.c_str();
    constexpr DWORD kOpenFlags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT;
    static_assert(kOpenFlags == 0x2200);
    if (const MCIERROR opened = multimedia.mciSendCommandA(0, MCI_OPEN, kOpenFlags, &parms); opened != 0) {
        return opened;
    }
    const MCIERROR set = multimedia.mciSendCommandA(parms.wDeviceID, MCI_SET, doorFlag, nullptr);
    const MCIERROR closed = multimedia.mciSendCommandA(parms.wDeviceID, MCI_CLOSE, kOpenFlags, &parms);
    return set != 0 ? set : closed;
}

int InsertedMediaProfile(Device& device, char letter, MediaOutcome* asked) {
    int profile = optical::kNoProfile;
    const MediaOutcome outcome = OnDevice(device, VolumeDevicePath(letter), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_ATTRIBUTE_NORMAL, [&](HANDLE h) {
                                              std::array<std::uint8_t, optical::kGetConfigurationReplySize> reply{};
                                              if (!optical::GetConfiguration(device, h, reply)) return false;
                                              profile = optical::CurrentProfileIndex(reply);
                                              return true;
                                          });
    if (asked) *asked = outcome;
    return profile;
}

}  // namespace tw::actions
