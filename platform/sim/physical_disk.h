// The simulated machine's physical disks as the driver's S.M.A.R.T.
// interface sees them: up to four IDE devices, each with the sectors it
// returns to identify, read-attributes and read-thresholds commands.
#pragma once
#include <map>
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
};

// "\\.\PhysicalDriveN" on the NT family, "\\.\SMARTVSD" on the 9x family.
struct PhysicalDisk {
    DWORD openError = ERROR_SUCCESS;
    DWORD versionError = ERROR_SUCCESS;  // SMART_GET_VERSION fails with this
    std::map<int, IdeDevice> devices;    // by index 0..3
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

}  // namespace tw::sim
