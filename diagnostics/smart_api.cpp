#include "diagnostics/smart_api.h"

#include <array>
#include <exception>
#include <optional>
#include <span>

#include "diagnostics/ata_identify.h"
#include "diagnostics/smart_requests.h"
#include "diagnostics/smart_scan.h"
#include "platform/drive_names.h"
#include "platform/system_error_text.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr DWORD kReplyLength = static_cast<DWORD>(smart_reply::kSectorReplySize);
constexpr DWORD kIdentifyReplyLength = static_cast<DWORD>(smart_reply::kBufferBytes);
constexpr int kDevices = 4;

bool NineX(Kernel& kernel, std::optional<DWORD>& family) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (kernel.GetVersionExA(&version)) family = version.dwPlatformId;
    return family == VER_PLATFORM_WIN32_WINDOWS;
}

// The device of one call, closed when the call ends however it ends.
class SmartDevice {
public:
    SmartDevice(Platform& platform, bool nineX, int driveNumber) : device_(platform.device()) {
        if (nineX) {
            handle_ = device_.CreateFileA(kSmartVsdPath, 0, 0, nullptr, CREATE_NEW, 0, 0);
        } else {
            const std::string path = PhysicalDrivePath(driveNumber);
            handle_ = device_.CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
        }
    }
    ~SmartDevice() {
        if (IsOpen()) device_.CloseHandle(handle_);
    }
    SmartDevice(const SmartDevice&) = delete;
    SmartDevice& operator=(const SmartDevice&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    Device& device() { return device_; }
    HANDLE handle() const { return handle_; }

private:
    Device& device_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::span<const BYTE> Sector(const SmartReplyBuffer& reply) {
    return std::span<const BYTE>(reply).subspan(smart_reply::kData, smart_reply::kSectorSize);
}

SmartReplyHead Status(const SmartReplyBuffer& reply) { return DecodeSmartReplyHead(reply).value_or(SmartReplyHead{}); }

std::string TrimmedMessage(const char* what) {
    std::string text = what;
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// One walk over the driver's devices, shared by the full read and the
// identify-only read. `onIdentified` takes a device's identify sector and
// returns whether the walk is done; it may send more requests through
// `Send`, which keeps the outcome of the last request for the result.
class DeviceWalk {
public:
    DeviceWalk(Platform& platform, std::string& errorText) : platform_(platform), error_(errorText) {}

    template <class OnIdentified>
    bool Run(std::int32_t driveNumber, OnIdentified onIdentified) {
        error_.clear();
        try {
            std::optional<DWORD> family;
            const bool nineX = NineX(platform_.kernel(), family);
            if (family != VER_PLATFORM_WIN32_WINDOWS && family != VER_PLATFORM_WIN32_NT) return false;
            SmartDevice device(platform_, nineX, driveNumber);
            if (!device.IsOpen()) {
                error_ = std::string(nineX ? "Unable to open SMARTVSD: " : "Unable to open physical drive: ") +
                         LastErrorText(device.device());
                return false;
            }
            device_ = &device;
            const bool result = Walk(onIdentified);
            device_ = nullptr;
            return result;
        } catch (const std::exception& e) {
            device_ = nullptr;
            error_ = "SMART Failed - " + TrimmedMessage(e.what());
            return false;
        }
    }

    bool Send(DWORD code, const SmartCommand& command, SmartReplyBuffer& reply, DWORD length) {
        last_ = SendSmartCommand(device_->device(), device_->handle(), code, command, reply, length);
        return last_;
    }
    std::string LastErrorText() { return LastErrorText(device_->device()); }
    void SetError(std::string text) { error_ = std::move(text); }
    // The driver's map names the device being identified an ATAPI one.
    bool PacketDevice() const { return packetDevice_; }

private:
    std::string LastErrorText(Device& device) { return SystemErrorText(platform_.kernel(), device.GetLastError()); }

    template <class OnIdentified>
    bool Walk(OnIdentified& onIdentified) {
        std::array<BYTE, smart_version::kSize> version{};
        DWORD returned = 0;
        if (!device_->device().DeviceIoControl(device_->handle(), SMART_GET_VERSION, nullptr, 0, version.data(),
                                               static_cast<DWORD>(version.size()), &returned, nullptr)) {
            error_ = "DFP_GET_VERSION failed: " + LastErrorText();
            return false;
        }
        const BYTE map = DecodeSmartVersion(version)->ideDeviceMap;
        SmartReplyBuffer identify{};
        last_ = true;
        for (int i = 0; i < kDevices; ++i) {
            if (!(map & (1u << i))) continue;
            const bool atapi = (map & (0x10u << i)) != 0;
            packetDevice_ = atapi;
            if (!atapi) {
                SmartReplyBuffer enable{};
                if (!Send(SMART_SEND_DRIVE_COMMAND, EnableSmartCommand(i), enable, kReplyLength)) {
                    error_ = "SMART Enable Command Failed, Drive: " + Decimal(i) + " : " + LastErrorText();
                }
            }
            identify.fill(0);
            EncodeSmartReplyHead(SmartReplyHead{static_cast<DWORD>(smart_reply::kSectorSize), 0, 0}, identify);
            if (!Send(SMART_RCV_DRIVE_DATA, IdentifyCommand(i, atapi), identify, kIdentifyReplyLength)) {
                const SmartReplyHead status = Status(identify);
                error_ = "Identify Command Failed on Drive: " + DriverErrorText(status.driverError) +
                         " bIDEStatus=" + IdeStatusText(status.ideError) + " : " + LastErrorText();
                continue;
            }
            if (onIdentified(*this, i, Sector(identify))) return true;
        }
        return last_;
    }

    Platform& platform_;
    std::string& error_;
    SmartDevice* device_ = nullptr;
    bool last_ = true;
    bool packetDevice_ = false;
};

// "SMART Read Attr Command Failed, Drive: 0 : <system text>; DriverStatus: <driver text>; bIDEStatus=0004"
std::string ReadFailure(const char* what, int index, const std::string& system, const SmartReplyBuffer& reply) {
    const SmartReplyHead status = Status(reply);
    return std::string(what) + ", Drive: " + Decimal(index) + " : " + system +
           "; DriverStatus: " + DriverErrorText(status.driverError) + "; bIDEStatus=" + IdeStatusText(status.ideError);
}

}  // namespace

bool SmartReadDrive(Platform& platform, std::int32_t driveNumber, TSmartResult& result, std::string& errorText) {
    result = TSmartResult{};
    DeviceWalk walk(platform, errorText);
    return walk.Run(driveNumber, [&](DeviceWalk& w, int i, std::span<const BYTE> sector) {
        const IdentifyData id = DecodeIdentify(sector).value_or(IdentifyData{});
        result.DriveNum = i;
        result.SizeBytes = id.sizeBytes;
        result.SerialNumber = id.serialNumber;
        result.FirmwareRev = id.firmwareRev;
        result.ModelNumber = id.modelNumber;
        result.IdentifyWord47 = id.word47;

        SmartReplyBuffer attributes{};
        if (!w.Send(SMART_RCV_DRIVE_DATA, ReadAttributesCommand(i), attributes, kReplyLength)) {
            w.SetError(ReadFailure("SMART Read Attr Command Failed", i, w.LastErrorText(), attributes));
            return false;
        }
        SmartReplyBuffer thresholds{};
        if (!w.Send(SMART_RCV_DRIVE_DATA, ReadThresholdsCommand(i), thresholds, kReplyLength)) {
            w.SetError(ReadFailure("SMART Read Threshold Command Failed", i, w.LastErrorText(), thresholds));
            return false;
        }
        ScanAttributes(Sector(attributes), Sector(thresholds), result);
        return true;
    });
}

bool SmartIdentifyDrive(Platform& platform, std::int32_t driveNumber, std::string& errorText, IdentifyData& identity) {
    DeviceWalk walk(platform, errorText);
    return walk.Run(driveNumber, [&](DeviceWalk& w, int, std::span<const BYTE> sector) {
        identity = DecodeIdentify(sector).value_or(IdentifyData{});
        identity.packetDevice = identity.packetDevice || w.PacketDevice();
        return true;
    });
}

bool SmartIdentifyDrive(Platform& platform, std::int32_t driveNumber, std::string& errorText, std::string& model,
                        std::int64_t& sizeBytes, std::string& serial) {
    IdentifyData id;
    bool identified = false;
    DeviceWalk walk(platform, errorText);
    const bool result = walk.Run(driveNumber, [&](DeviceWalk&, int, std::span<const BYTE> sector) {
        id = DecodeIdentify(sector).value_or(IdentifyData{});
        identified = true;
        return true;
    });
    if (identified) {
        model = id.modelNumber;
        sizeBytes = id.sizeBytes;
        serial = id.serialNumber;
    }
    return result;
}

std::string SmartReadSerial(Platform& platform, std::uint16_t driveNumber) {
    std::optional<DWORD> family;
    const bool nt = !NineX(platform.kernel(), family) && family == VER_PLATFORM_WIN32_NT;
    try {
        SmartDevice device(platform, !nt, driveNumber);
        if (!device.IsOpen()) return {};
        // The master device, whatever the driver's map says.
        SmartReplyBuffer reply{};
        if (!SendSmartCommand(device.device(), device.handle(), SMART_RCV_DRIVE_DATA, IdentifyCommand(0, false), reply,
                              kReplyLength)) {
            return {};
        }
        return IdentifySerialUntrimmed(Sector(reply));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace tw::diagnostics
