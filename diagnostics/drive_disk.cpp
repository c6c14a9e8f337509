#include "diagnostics/drive_disk.h"

#include <array>
#include <exception>
#include <string>

#include "platform/drive_names.h"
#include "platform/smart_records.h"

namespace tw::diagnostics {

using namespace tw::platform;

DriveDisk PhysicalDiskOfDrive(Device& device, char letter) {
    DriveDisk found;
    const std::string path = VolumeDevicePath(letter);
    const HANDLE handle =
        device.CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        found.error = device.GetLastError();
        return found;
    }
    std::array<BYTE, storage_device_number::kSize> reply{};
    DWORD returned = 0;
    bool done = false;
    try {
        done = device.DeviceIoControl(handle, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, reply.data(),
                                      static_cast<DWORD>(reply.size()), &returned, nullptr) != FALSE;
        if (!done) found.error = device.GetLastError();
    } catch (const std::exception&) {
        done = false;
        found.error = ERROR_INVALID_FUNCTION;
    }
    device.CloseHandle(handle);
    if (!done) return found;
    const auto number = DecodeStorageDeviceNumber(std::span<const BYTE>(reply.data(), returned));
    if (!number || number->deviceType != FILE_DEVICE_DISK) {
        found.error = ERROR_INVALID_FUNCTION;
        return found;
    }
    found.number = number;
    return found;
}

}  // namespace tw::diagnostics
