#include "inventory/device_probes.h"

#include <array>
#include <cstdint>
#include <exception>

#include "optical/inquiry_identity.h"
#include "optical/iso_disc_lib.h"
#include "optical/mmc_commands.h"
#include "platform/device_records.h"
#include "platform/drive_names.h"

namespace tw::inventory {

using namespace tw::platform;

std::string IdentityText(Device& device, char letter) {
    try {
        const std::string path = VolumeDevicePath(letter);
        const HANDLE handle = device.CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, 0, 0);
        if (handle == INVALID_HANDLE_VALUE) return {};
        std::string text;
        try {
            std::array<std::uint8_t, optical::kInquiryReplySize> reply{};
            if (optical::Inquiry(device, handle, reply)) text = optical::IdentityString(reply);
        } catch (const std::exception&) {
            text.clear();
        }
        device.CloseHandle(handle);
        return text;
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<DeviceDescriptor> StorageDescriptor(Device& device, char letter) {
    try {
        const std::string path = VolumeDevicePath(letter);
        // Access 0: the query needs no data access, so a drive another program
        // holds exclusively can still be asked.
        const HANDLE handle =
            device.CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
        if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
        auto query = Encode(StoragePropertyQuery{});
        auto reply = NewDeviceDescriptorBuffer();
        DWORD returned = 0;
        bool done = false;
        try {
            done = device.DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, query.data(),
                                          static_cast<DWORD>(query.size()), reply.data(),
                                          static_cast<DWORD>(reply.size()), &returned, nullptr) != FALSE;
        } catch (const std::exception&) {
            done = false;
        }
        device.CloseHandle(handle);
        if (!done) return std::nullopt;
        return DecodeDeviceDescriptor(reply);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool IsExternal(Device& device, char letter) {
    const auto descriptor = StorageDescriptor(device, letter);
    return descriptor &&
           (descriptor->busType == BusType1394 || descriptor->busType == BusTypeUsb || descriptor->removableMedia);
}

std::string OpticalClass(Platform& platform, char letter, optical::MessagePump& pump) {
    std::string capabilities;
    try {
        optical::TISODiscLib lib(platform, pump);
        const HANDLE handle = lib.OpenCDDrive(letter);
        try {
            lib.GetDriveCapabilities(handle, capabilities);
        } catch (const std::exception&) {
            capabilities.clear();
        }
        if (handle != INVALID_HANDLE_VALUE) lib.CloseDrive(handle);
    } catch (const std::exception&) {
        return {};
    }
    return OpticalClassOf(capabilities);
}

std::string OpticalClassOf(std::string_view capabilityText) {
    // A reader lists "Read DVD-R / DVD-RW" too: only what a drive writes says
    // it is a writer.
    std::string writes;
    bool readsDvd = false;
    bool readsCd = false;
    for (std::size_t start = 0; start <= capabilityText.size();) {
        std::size_t end = capabilityText.find("\r\n", start);
        if (end == std::string_view::npos) end = capabilityText.size();
        const std::string_view line = capabilityText.substr(start, end - start);
        if (line.starts_with("Write ")) {
            writes.append(line).append("\n");
        } else if (line.starts_with("Read ")) {
            (line.find("DVD") != std::string_view::npos ? readsDvd : readsCd) = true;
        }
        start = end + 2;
    }
    for (std::string_view name : {"DVD-RW", "DVD-R", "DVD-RAM", "DVD-ROM", "CD-RW", "CD-R"}) {
        if (writes.find(name) != std::string::npos) return std::string(name);
    }
    if (readsDvd) return "DVD-ROM";
    if (readsCd) return "CD-ROM";
    return {};
}

}  // namespace tw::inventory
