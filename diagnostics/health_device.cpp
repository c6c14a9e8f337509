#include "diagnostics/health_device.h"

#include "diagnostics/ata_identify.h"
#include "diagnostics/smart_scan.h"
#include "platform/drive_names.h"
#include "platform/system_error_text.h"

namespace tw::diagnostics {

using namespace tw::platform;

HealthDevice::HealthDevice(Platform& platform, std::int32_t diskNumber) : platform_(platform) {
    const std::string path = PhysicalDrivePath(diskNumber);
    handle_ = platform_.device().CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
}

HealthDevice::~HealthDevice() {
    if (IsOpen()) platform_.device().CloseHandle(handle_);
}

bool HealthDevice::Control(DWORD code, std::span<const BYTE> in, std::span<BYTE> out, DWORD& returned) {
    returned = 0;
    return platform_.device().DeviceIoControl(handle_, code, in.data(), static_cast<DWORD>(in.size()), out.data(),
                                              static_cast<DWORD>(out.size()), &returned, nullptr) != FALSE;
}

std::string HealthDevice::LastErrorText() {
    return SystemErrorText(platform_.kernel(), platform_.device().GetLastError());
}

TSmartResult AtaResultOf(std::span<const BYTE> identify, std::span<const BYTE> attributes,
                         std::span<const BYTE> thresholds) {
    TSmartResult result;
    const IdentifyData id = DecodeIdentify(identify).value_or(IdentifyData{});
    result.DriveNum = 0;
    result.SizeBytes = id.sizeBytes;
    result.SerialNumber = id.serialNumber;
    result.FirmwareRev = id.firmwareRev;
    result.ModelNumber = id.modelNumber;
    result.IdentifyWord47 = id.word47;
    ScanAttributes(attributes, thresholds, result);
    return result;
}

}  // namespace tw::diagnostics
