// The simulated machine's physical disks behind "\\.\PhysicalDriveN" (NT
// family) and "\\.\SMARTVSD" (9x family), and the driver's S.M.A.R.T.
// requests to their IDE devices. The driver checks each request record as a
// strict driver would: a register it does not expect fails the request with
// the driver status and last error a caller sees on Windows.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/drive_names.h"
#include "platform/sim/state.h"

namespace tw::sim {

namespace {

constexpr DWORD kSmartCapabilities = CAP_ATA_ID_CMD | CAP_ATAPI_ID_CMD | CAP_SMART_CMD;
constexpr BYTE DISABLE_SMART = 0xD9;
constexpr BYTE RETURN_SMART_STATUS = 0xDA;

// N of "\\.\PhysicalDriveN" (any case), or -1.
int PhysicalDriveNumber(const std::string& path) {
    const std::string prefix = "\\\\.\\PHYSICALDRIVE";
    const std::string upper = UpperAscii(path);
    if (upper.size() <= prefix.size() || upper.size() > prefix.size() + 3 || upper.compare(0, prefix.size(), prefix)) {
        return -1;
    }
    int n = 0;
    for (std::size_t i = prefix.size(); i < upper.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(upper[i]))) return -1;
        n = n * 10 + (upper[i] - '0');
    }
    return n;
}

BYTE DeviceMap(const PhysicalDisk& disk) {
    BYTE map = 0;
    for (const auto& [index, device] : disk.devices) {
        map = static_cast<BYTE>(map | (1u << index) | (device.atapi ? 0x10u << index : 0u));
    }
    return map;
}

// What a valid request asks of the device.
struct Asked {
    SmartStep step;
    const std::vector<BYTE>* sector;  // none: no data moves
};

}  // namespace

PhysicalDisk* MachineState::DiskOfPath(const std::string& path) {
    const bool nineX = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    if (UpperAscii(path) == kSmartVsdPath) return nineX && smartVsd ? &*smartVsd : nullptr;
    const int n = PhysicalDriveNumber(path);
    if (n < 0 || nineX) return nullptr;
    auto it = physicalDisks.find(n);
    return it == physicalDisks.end() ? nullptr : &it->second;
}

bool MachineState::IsDiskPath(const std::string& path) {
    return UpperAscii(path) == kSmartVsdPath || PhysicalDriveNumber(path) >= 0;
}

HANDLE MachineState::OpenDiskPath(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    DeviceOpen asked{path, access, share, disposition, flags, ERROR_SUCCESS};
    PhysicalDisk* disk = DiskOfPath(path);
    DWORD error = ERROR_SUCCESS;
    const bool vxd = UpperAscii(path) == kSmartVsdPath;
    if (disk == nullptr) {
        error = ERROR_FILE_NOT_FOUND;
    } else if (disk->openError != ERROR_SUCCESS) {
        error = disk->openError;
    } else if (!vxd && disposition != OPEN_EXISTING && disposition != OPEN_ALWAYS) {
        // A disk exists already; the 9x loader takes any disposition for a driver.
        error = ERROR_INVALID_PARAMETER;
    }
    asked.error = error;
    deviceOpens.push_back(asked);
    lastError = error;
    if (error != ERROR_SUCCESS) return INVALID_HANDLE_VALUE;
    const HANDLE h = NewHandle();
    OpenDevice open{0, path, access, share, 0};
    open.disk = disk;
    open.driver = vxd;
    openDevices[h] = open;
    return h;
}

BOOL MachineState::DiskRequest(OpenDevice& od, DWORD code, std::span<const BYTE> input, void* outBuffer, DWORD outSize,
                               DWORD* bytesReturned) {
    // The 9x driver keeps no access rights on its handle.
    const DWORD needs = RequiredAccess(code);
    const bool reads = (od.access & GENERIC_READ) != 0, writes = (od.access & GENERIC_WRITE) != 0;
    if (!od.driver && (((needs & FILE_READ_ACCESS) && !reads) || ((needs & FILE_WRITE_ACCESS) && !writes))) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    PhysicalDisk& disk = *od.disk;
    if (!od.driver) {
        if (auto answer = HealthRequest(disk, code, input, outBuffer, outSize, bytesReturned)) return *answer;
    }
    // A controller driver that does not take the S.M.A.R.T. requests.
    if (!disk.smartDriver) return Fail(ERROR_INVALID_FUNCTION);
    if (code == SMART_GET_VERSION) {
        if (disk.versionError != ERROR_SUCCESS) return Fail(disk.versionError);
        if (outBuffer == nullptr || outSize < smart_version::kSize) return Fail(ERROR_INSUFFICIENT_BUFFER);
        const auto reply = Encode(SmartVersion{1, 1, DeviceMap(disk), kSmartCapabilities});
        std::memcpy(outBuffer, reply.data(), reply.size());
        if (bytesReturned) *bytesReturned = static_cast<DWORD>(reply.size());
        return Succeed();
    }
    if (code != SMART_SEND_DRIVE_COMMAND && code != SMART_RCV_DRIVE_DATA) return Fail(ERROR_INVALID_FUNCTION);

    const auto command = DecodeSmartCommand(input);
    if (!command) return Fail(ERROR_INVALID_PARAMETER);
    const bool receives = code == SMART_RCV_DRIVE_DATA;
    const std::size_t needed = smart_reply::kData + (receives ? smart_reply::kSectorSize : 0);
    if (outBuffer == nullptr || outSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
    const std::span<BYTE> out(static_cast<BYTE*>(outBuffer), outSize);
    auto refuse = [&](BYTE driverError, BYTE ideError, DWORD error) {
        EncodeSmartReplyHead(SmartReplyHead{0, driverError, ideError}, out);
        if (bytesReturned) *bytesReturned = static_cast<DWORD>(smart_reply::kData);
        return Fail(error);
    };
    // The driver's own checks of the record.
    const SmartCommand& c = *command;
    if (c.driveNumber > 3) return refuse(SMART_INVALID_DRIVE, 0, ERROR_INVALID_PARAMETER);
    auto found = disk.devices.find(c.driveNumber);
    if (found == disk.devices.end()) return refuse(SMART_NO_IDE_DEVICE, 0, ERROR_INVALID_PARAMETER);
    IdeDevice& device = found->second;
    if (c.driveHead != static_cast<BYTE>(0xA0 | ((c.driveNumber & 1) << 4))) {
        return refuse(SMART_INVALID_REGISTER, 0, ERROR_INVALID_PARAMETER);
    }
    std::optional<Asked> asked;
    bool dataIn = false;
    if (c.command == ID_CMD || c.command == ATAPI_ID_CMD) {
        dataIn = true;
        asked = Asked{SmartStep::kIdentify, &device.identify};
    } else if (c.command == SMART_CMD) {
        switch (c.features) {
            case READ_ATTRIBUTES: dataIn = true, asked = Asked{SmartStep::kAttributes, &device.attributes}; break;
            case READ_THRESHOLDS: dataIn = true, asked = Asked{SmartStep::kThresholds, &device.thresholds}; break;
            case ENABLE_SMART: asked = Asked{SmartStep::kEnable, nullptr}; break;
            case DISABLE_SMART:
            case RETURN_SMART_STATUS: break;
            default: return refuse(SMART_INVALID_FLAG, 0, ERROR_INVALID_PARAMETER);
        }
    } else {
        return refuse(SMART_INVALID_COMMAND, 0, ERROR_INVALID_PARAMETER);
    }
    if (dataIn != receives) return refuse(SMART_INVALID_IOCTL, 0, ERROR_INVALID_PARAMETER);
    if (dataIn && c.bufferSize < smart_reply::kSectorSize)
        return refuse(SMART_INVALID_BUFFER, 0, ERROR_INVALID_PARAMETER);

    // What the device itself refuses: the other identify command, a SMART
    // command without its signature, or SMART where it is off or absent.
    auto abort = [&] { return refuse(SMART_IDE_ERROR, kAtaErrorAbort, ERROR_IO_DEVICE); };
    if (c.command == ID_CMD && device.atapi) return abort();
    if (c.command == ATAPI_ID_CMD && !device.atapi) return abort();
    if (c.command == SMART_CMD) {
        if (c.cylLow != SMART_CYL_LOW || c.cylHigh != SMART_CYL_HI || device.atapi || !device.smartSupported) {
            return abort();
        }
        if (c.features == ENABLE_SMART) device.smartEnabled = true;
        if (c.features == DISABLE_SMART) device.smartEnabled = false;
        if (!device.smartEnabled && dataIn) return abort();
    }
    if (asked) {
        auto f = device.failures.find(asked->step);
        if (f != device.failures.end()) {
            if (!f->second.raises.empty()) throw SimulatedFault(f->second.raises);
            return refuse(f->second.driverError, f->second.ideError, f->second.error);
        }
    }
    const std::vector<BYTE>* sector = asked ? asked->sector : nullptr;
    const std::size_t length = sector ? std::min(sector->size(), smart_reply::kSectorSize) : 0;
    EncodeSmartReplyHead(SmartReplyHead{static_cast<DWORD>(dataIn ? length : 0), 0, 0}, out);
    if (length) std::memcpy(out.data() + smart_reply::kData, sector->data(), length);
    if (bytesReturned) *bytesReturned = static_cast<DWORD>(smart_reply::kData + length);
    return Succeed();
}

}  // namespace tw::sim
