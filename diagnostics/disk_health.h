// The health of one physical disk, read by the first route that answers:
// the driver's S.M.A.R.T. interface (SmartReadDrive, unchanged), ATA
// pass-through, ATA commands wrapped for a USB bridge (16-byte, then 12-byte
// wrapper), or the NVMe log through stornvme. The bus the disk sits on
// decides which routes are tried; every route tried is kept with what it
// said, so a window can show why a disk has no data.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/ata_commands.h"
#include "diagnostics/nvme_health.h"
#include "diagnostics/smart_result.h"
#include "diagnostics/wide_counter.h"
#include "platform/platform.h"

namespace tw::diagnostics {

enum class HealthRoute { kNone, kSmartDriver, kAtaPassThrough, kSat16, kSat12, kNvme };

// "SMART driver", "ATA pass-through", "SAT 16", "SAT 12", "NVMe", "none".
const char* RouteName(HealthRoute route);

struct RouteAttempt {
    HealthRoute route = HealthRoute::kNone;
    bool answered = false;
    std::string outcome;  // "answered", or what went wrong
};

struct DiskHealth {
    std::int32_t disk = 0;
    std::optional<platform::DWORD> busType;  // none: the bus query failed
    HealthRoute route = HealthRoute::kNone;  // the route that answered
    std::vector<RouteAttempt> attempts;      // in the order tried
    // A bridge that took neither wrapper: the disk's health is unknown.
    bool bridgeRefusedBoth = false;

    // The identity, from whichever route answered.
    std::string model;
    std::string serial;
    std::string firmware;
    Counter128 capacityBytes;

    // ATA routes: the record SmartReadDrive fills, the same for every ATA
    // route, and the disk's own verdict (the driver route gives none).
    std::optional<TSmartResult> ata;
    DiskVerdict verdict = DiskVerdict::kNotGiven;

    // The NVMe route: the SMART / Health Information log.
    std::optional<NvmeHealthLog> nvme;

    // Why no route answered; empty when one did.
    std::string error;
    // The driver route: a step that failed before the reads that worked (an
    // enable the disk refused), and the record of a disk that identified
    // before its attribute read failed, whose identity is still worth showing.
    std::string driverNotice;
    std::optional<TSmartResult> driverIdentified;

    bool Answered() const { return route != HealthRoute::kNone; }
};

// Reads disk `diskNumber` ("\\.\PhysicalDriveN"). On the 9x family only the
// driver route exists.
DiskHealth ReadDiskHealth(platform::Platform& platform, std::int32_t diskNumber);

}  // namespace tw::diagnostics
