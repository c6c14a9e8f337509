// The one device a health route talks to, opened for reading and writing as
// the pass-through requests need, and closed when the route ends; and the
// pieces the ATA routes share.
#pragma once
#include <span>
#include <string>

#include "diagnostics/disk_health.h"
#include "platform/platform.h"

namespace tw::diagnostics {

class HealthDevice {
public:
    HealthDevice(platform::Platform& platform, std::int32_t diskNumber);
    ~HealthDevice();
    HealthDevice(const HealthDevice&) = delete;
    HealthDevice& operator=(const HealthDevice&) = delete;

    bool IsOpen() const { return handle_ != platform::INVALID_HANDLE_VALUE; }
    // DeviceIoControl on the device; `returned` gets the bytes that came back.
    bool Control(platform::DWORD code, std::span<const platform::BYTE> in, std::span<platform::BYTE> out,
                 platform::DWORD& returned);
    // The system's words for the last error.
    std::string LastErrorText();

private:
    platform::Platform& platform_;
    platform::HANDLE handle_ = platform::INVALID_HANDLE_VALUE;
};

// An ATA route's three sectors, decoded as the driver route decodes them.
TSmartResult AtaResultOf(std::span<const platform::BYTE> identify, std::span<const platform::BYTE> attributes,
                         std::span<const platform::BYTE> thresholds);

// The ATA routes, each filling `health` when it answers.
RouteAttempt ReadByAtaPassThrough(HealthDevice& device, DiskHealth& health);
// Tries the 16-byte wrapper, then the 12-byte one where the bridge refuses
// it; both attempts go into `health.attempts`.
void ReadBySat(HealthDevice& device, DiskHealth& health);
RouteAttempt ReadByNvme(HealthDevice& device, DiskHealth& health);

}  // namespace tw::diagnostics
