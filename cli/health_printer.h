// tarnwell-cli health: a disk's health as the route that answered gave it.
#pragma once
#include <ostream>

#include "cli/json_report.h"
#include "diagnostics/disk_health.h"

namespace tw::cli {

// "Name: value" lines: the disk, its bus, the route and every route tried,
// the identity, then the disk's own verdict and attribute lines (ATA) or
// the health log's values (NVMe), then "Error:".
void PrintDiskHealth(const diagnostics::DiskHealth& health, std::ostream& out);

// The same as one JSON object; 16-byte counters are exact integers.
JsonReport DiskHealthReport(const diagnostics::DiskHealth& health);
// Prints `report` as PrintJson does, with the counters that pass 2^64 as
// the exact integers they are (nlohmann keeps at most 64 bits).
void PrintHealthJson(const JsonReport& report, std::ostream& out);

}  // namespace tw::cli
