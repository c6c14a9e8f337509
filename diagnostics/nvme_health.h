// Pure decoders of what an NVMe controller reports: the Identify Controller
// data (CNS 01h, 4096 bytes) and the SMART / Health Information log (page
// 02h, 512 bytes). Counters of 16 bytes are kept exactly.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "diagnostics/wide_counter.h"

namespace tw::diagnostics {

namespace nvme_identify {
constexpr std::size_t kSize = 4096;
constexpr std::size_t kVendorId = 0;  // 16-bit
constexpr std::size_t kSerial = 4;
constexpr std::size_t kSerialLength = 20;
constexpr std::size_t kModel = 24;
constexpr std::size_t kModelLength = 40;
constexpr std::size_t kFirmware = 64;
constexpr std::size_t kFirmwareLength = 8;
constexpr std::size_t kTotalCapacity = 280;  // TNVMCAP, bytes, 16 bytes
}  // namespace nvme_identify
static_assert(nvme_identify::kModel + nvme_identify::kModelLength == nvme_identify::kFirmware);

struct NvmeIdentity {
    std::uint16_t vendorId = 0;
    std::string serialNumber;
    std::string modelNumber;
    std::string firmwareRev;
    Counter128 capacityBytes;  // 0 when the controller does not report it
    bool operator==(const NvmeIdentity&) const = default;
};

// Texts are ASCII, padded with spaces: trimmed of characters 0 to 32. None
// when `data` is shorter than the fields read (through TNVMCAP).
std::optional<NvmeIdentity> DecodeNvmeIdentify(std::span<const platform::BYTE> data);

namespace nvme_log {
constexpr std::size_t kSize = 512;
constexpr std::size_t kCriticalWarning = 0;
constexpr std::size_t kCompositeTemperature = 1;  // 16-bit, kelvin
constexpr std::size_t kAvailableSpare = 3;
constexpr std::size_t kSpareThreshold = 4;
constexpr std::size_t kPercentageUsed = 5;
constexpr std::size_t kDataUnitsRead = 32;  // the 16-byte counters follow one another
constexpr std::size_t kDataUnitsWritten = 48;
constexpr std::size_t kHostReads = 64;
constexpr std::size_t kHostWrites = 80;
constexpr std::size_t kBusyTime = 96;
constexpr std::size_t kPowerCycles = 112;
constexpr std::size_t kPowerOnHours = 128;
constexpr std::size_t kUnsafeShutdowns = 144;
constexpr std::size_t kMediaErrors = 160;
constexpr std::size_t kErrorLogEntries = 176;
constexpr std::size_t kWarningTempTime = 192;   // 32-bit, minutes
constexpr std::size_t kCriticalTempTime = 196;  // 32-bit, minutes
constexpr std::size_t kSensors = 200;           // eight 16-bit kelvin values
constexpr std::size_t kSensorCount = 8;
// A data unit is a thousand 512-byte blocks.
constexpr std::uint32_t kDataUnitBytes = 512000;
}  // namespace nvme_log
static_assert(nvme_log::kErrorLogEntries + 16 == nvme_log::kWarningTempTime);
static_assert(nvme_log::kSensors + 2 * nvme_log::kSensorCount <= nvme_log::kSize);

// Critical warning bits.
enum NvmeWarning : std::uint8_t {
    kNvmeSpareLow = 0x01,
    kNvmeTemperature = 0x02,
    kNvmeReliability = 0x04,
    kNvmeReadOnly = 0x08,
    kNvmeBackupFailed = 0x10,
    kNvmePersistentMemory = 0x20,
};

struct NvmeHealthLog {
    std::uint8_t criticalWarning = 0;
    std::uint16_t compositeKelvin = 0;  // 0: not reported
    std::uint8_t availableSpare = 0;    // percent
    std::uint8_t spareThreshold = 0;    // percent
    std::uint8_t percentageUsed = 0;    // may pass 100
    Counter128 dataUnitsRead;
    Counter128 dataUnitsWritten;
    Counter128 hostReadCommands;
    Counter128 hostWriteCommands;
    Counter128 controllerBusyMinutes;
    Counter128 powerCycles;
    Counter128 powerOnHours;
    Counter128 unsafeShutdowns;
    Counter128 mediaErrors;
    Counter128 errorLogEntries;
    std::uint32_t warningTempMinutes = 0;
    std::uint32_t criticalTempMinutes = 0;
    std::array<std::uint16_t, nvme_log::kSensorCount> sensorKelvin{};  // 0: absent
    bool operator==(const NvmeHealthLog&) const = default;
};

// None when `log` is shorter than 512 bytes.
std::optional<NvmeHealthLog> DecodeNvmeHealthLog(std::span<const platform::BYTE> log);

// Kelvin as whole degrees Celsius; none for 0 (not reported).
std::optional<int> KelvinToCelsius(std::uint16_t kelvin);
// The words for each critical warning bit set, lowest bit first; bits the
// program does not know are named by number ("bit 6").
std::vector<std::string> CriticalWarnings(std::uint8_t bits);
// The spare has fallen below its threshold (the controller's own bit aside).
bool SpareBelowThreshold(const NvmeHealthLog& log);

}  // namespace tw::diagnostics
