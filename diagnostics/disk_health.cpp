#include "diagnostics/disk_health.h"

#include "diagnostics/health_device.h"
#include "diagnostics/smart_api.h"
#include "platform/health_records.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

enum class Family { kAta, kBridge, kNvme, kUnknown };

Family FamilyOf(const std::optional<DWORD>& bus) {
    if (!bus) return Family::kUnknown;
    switch (*bus) {
        case BusTypeAta:
        case BusTypeAtapi:
        case BusTypeSata:
        case BusTypeRAID: return Family::kAta;
        case BusTypeUsb:
        case BusTypeScsi:
        case BusTypeSas:
        case BusType1394:
        case BusTypeFibre: return Family::kBridge;
        case BusTypeNvme: return Family::kNvme;
        default: return Family::kUnknown;
    }
}

std::optional<DWORD> BusOf(HealthDevice& device) {
    const auto query = Encode(StoragePropertyQuery{});
    auto reply = NewDeviceDescriptorBuffer();
    DWORD returned = 0;
    if (!device.Control(IOCTL_STORAGE_QUERY_PROPERTY, query, reply, returned)) return std::nullopt;
    const auto descriptor = DecodeDeviceDescriptor(std::span<const BYTE>(reply).first(returned));
    if (!descriptor) return std::nullopt;
    return descriptor->busType;
}

bool NineX(Platform& platform) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return platform.kernel().GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void ByDriver(Platform& platform, DiskHealth& health) {
    TSmartResult result;
    std::string errorText;
    const bool ok = SmartReadDrive(platform, health.disk, result, errorText);
    // True with no device at all is no answer.
    const bool answered = ok && result.DriveNum >= 0;
    health.attempts.push_back({HealthRoute::kSmartDriver, answered,
                               answered ? "answered" : (errorText.empty() ? "no ATA device" : errorText)});
    if (answered) {
        health.ata = std::move(result);
        health.driverNotice = errorText;
    } else if (result.DriveNum >= 0) {
        health.driverIdentified = std::move(result);
    }
}

void Settle(DiskHealth& health) {
    for (const RouteAttempt& a : health.attempts) {
        if (a.answered) health.route = a.route;
    }
    if (health.ata) {
        health.model = health.ata->ModelNumber;
        health.serial = health.ata->SerialNumber;
        health.firmware = health.ata->FirmwareRev;
        health.capacityBytes = {static_cast<std::uint64_t>(health.ata->SizeBytes), 0};
    }
    if (health.Answered()) return;
    if (health.bridgeRefusedBoth) {
        health.error = "The bridge refuses both ATA PASS-THROUGH (16) and (12): the disk's health is unknown";
    } else if (health.attempts.empty()) {
        health.error = "No route to the disk";
    } else {
        health.error = "No route answered: " + health.attempts.back().outcome;
    }
}

}  // namespace

const char* RouteName(HealthRoute route) {
    switch (route) {
        case HealthRoute::kSmartDriver: return "SMART driver";
        case HealthRoute::kAtaPassThrough: return "ATA pass-through";
        case HealthRoute::kSat16: return "SAT 16";
        case HealthRoute::kSat12: return "SAT 12";
        case HealthRoute::kNvme: return "NVMe";
        case HealthRoute::kNone: break;
    }
    return "none";
}

DiskHealth ReadDiskHealth(Platform& platform, std::int32_t diskNumber) {
    DiskHealth health;
    health.disk = diskNumber;
    if (NineX(platform)) {
        ByDriver(platform, health);
        Settle(health);
        return health;
    }
    std::optional<DWORD> bus;
    {
        HealthDevice device(platform, diskNumber);
        if (!device.IsOpen()) {
            health.error = "Unable to open physical drive: " + device.LastErrorText();
            return health;
        }
        bus = BusOf(device);
    }
    health.busType = bus;
    const Family family = FamilyOf(bus);
    auto answered = [&] { return !health.attempts.empty() && health.attempts.back().answered; };
    if (family == Family::kAta || family == Family::kUnknown) {
        ByDriver(platform, health);
        if (!answered()) {
            HealthDevice device(platform, diskNumber);
            health.attempts.push_back(ReadByAtaPassThrough(device, health));
        }
    }
    if ((family == Family::kBridge || family == Family::kUnknown) && !answered()) {
        HealthDevice device(platform, diskNumber);
        ReadBySat(device, health);
    }
    if ((family == Family::kNvme || family == Family::kUnknown) && !answered()) {
        HealthDevice device(platform, diskNumber);
        health.attempts.push_back(ReadByNvme(device, health));
    }
    Settle(health);
    return health;
}

}  // namespace tw::diagnostics
