// The simulated machine's physical disks as the driver's S.M.A.R.T.
// interface sees them: up to four IDE devices, each with the sectors it
// returns to identify, read-attributes and read-thresholds commands.
#pragma once
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/smart_records.h"

namespace tw::sim {

using namespace tw::platform;

// How one request to a device fails: the driver status written into the
// reply, the last error DeviceIoControl leaves, or a fault it raises.
struct SmartFailure {
    DWORD error = ERROR_IO_DEVICE;
    BYTE driverError = SMART_IDE_ERROR;
    BYTE ideError = kAtaErrorAbort;
    std::string raises;  // not empty: the request raises with this text
};

// The requests a failure can be attached to.
enum class SmartStep { kEnable, kIdentify, kAttributes, kThresholds };

struct IdeDevice {
    bool atapi = false;
    // The sectors as the device returns them, at most 512 bytes each; a
    // shorter one is a short reply.
    std::vector<BYTE> identify;
    std::vector<BYTE> attributes;
    std::vector<BYTE> thresholds;
    bool smartSupported = true;
    bool smartEnabled = true;
    std::map<SmartStep, SmartFailure> failures;
    // SMART RETURN STATUS: the disk says a threshold is exceeded (F4h/2Ch)
    // rather than passed (4Fh/C2h).
    bool thresholdExceeded = false;
};

// The health requests that go round the driver's S.M.A.R.T. interface,
// each of which a disk can fail with a last error of its own.
enum class HealthCall { kBusQuery, kAtaPassThrough, kScsiPassThrough, kNvmeQuery };

// What stornvme hands out for an NVMe disk, as the controller returned it;
// a shorter page is a short reply.
struct NvmeController {
    std::vector<BYTE> identify;   // Identify Controller, up to 4096 bytes
    std::vector<BYTE> healthLog;  // log page 02h, up to 512 bytes
};

// "\\.\PhysicalDriveN" on the NT family, "\\.\SMARTVSD" on the 9x family.
struct PhysicalDisk {
    DWORD openError = ERROR_SUCCESS;
    DWORD versionError = ERROR_SUCCESS;  // SMART_GET_VERSION fails with this
    std::map<int, IdeDevice> devices;    // by index 0..3

    // The health routes, all served by device 0's sectors. None: the disk's
    // handle does not know the storage property query.
    std::optional<DWORD> busType;
    bool smartDriver = true;  // false: the driver refuses the S.M.A.R.T. requests
    bool ataPassThrough = true;
    bool sat16 = false;           // a bridge that translates ATA PASS-THROUGH (16)
    bool sat12 = false;           // ... and (12)
    bool bridgeRegisters = true;  // false: the bridge returns no registers
    std::optional<NvmeController> nvme;
    // The pass-through and protocol requests need an administrator's token.
    bool administratorOnly = false;
    std::map<HealthCall, DWORD> healthErrors;
};

// The sectors a disk of these properties returns, for machines built in
// code and for the fields form of the machine file.
struct IdentifyFields {
    std::string model;
    std::string serial;
    std::string firmware;
    ULONGLONG sectors = 0;
    bool lba48 = false;  // 48-bit addressing: word 83 says so, words 100-103 count
    WORD word47 = 0x8010;
};
std::vector<BYTE> IdentifySector(const IdentifyFields& fields);

struct AttributeFields {
    BYTE id = 0;
    WORD flags = 0;
    BYTE current = 0;
    BYTE worst = 0;
    ULONGLONG raw = 0;  // 6 bytes
    BYTE threshold = 0;
};
std::vector<BYTE> AttributeSector(const std::vector<AttributeFields>& attributes);
std::vector<BYTE> ThresholdSector(const std::vector<AttributeFields>& attributes);

// An NVMe controller's pages from their fields (nvme_pages.cpp). Counters
// are 16 bytes, given as decimal text so that they may pass 2^64.
struct NvmeIdentifyFields {
    WORD vendorId = 0;
    std::string model;     // at most 40 characters
    std::string serial;    // 20
    std::string firmware;  // 8
    std::array<BYTE, 16> capacity{};
};
std::vector<BYTE> NvmeIdentifyPage(const NvmeIdentifyFields& fields);

struct NvmeLogFields {
    BYTE criticalWarning = 0;
    WORD temperatureKelvin = 0;
    BYTE availableSpare = 100;
    BYTE spareThreshold = 10;
    BYTE percentageUsed = 0;
    // Data units read and written, host reads and writes, busy minutes, power
    // cycles, power-on hours, unsafe shutdowns, media errors, error log
    // entries: the log's ten counters in its order.
    std::array<std::array<BYTE, 16>, 10> counters{};
    DWORD warningTemperatureMinutes = 0;
    DWORD criticalTemperatureMinutes = 0;
    std::array<WORD, 8> sensorsKelvin{};
};
std::vector<BYTE> NvmeLogPage(const NvmeLogFields& fields);

// Decimal digits as a 16-byte little-endian counter; none when `text` is
// not all digits or does not fit.
std::optional<std::array<BYTE, 16>> CounterBytes(const std::string& text);

}  // namespace tw::sim
