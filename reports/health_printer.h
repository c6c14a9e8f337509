// A disk's health as the route that answered gave it, as tarnwell-cli health
// prints it and the SMART window saves it.
#pragma once
#include <ostream>

#include "diagnostics/disk_health.h"
#include "reports/json_report.h"

namespace tw::reports {

// "Name: value" lines: the disk, its bus, the route and every route tried,
// the identity, then the disk's own verdict and attribute lines (ATA) or
// the health log's values (NVMe), then "Error:".
void PrintDiskHealth(const diagnostics::DiskHealth& health, std::ostream& out);

// The same as one JSON object; 16-byte counters are exact integers.
JsonReport DiskHealthReport(const diagnostics::DiskHealth& health);
// Prints `report` as PrintJson does, with the counters that pass 2^64 as
// the exact integers they are (nlohmann keeps at most 64 bits).
void PrintHealthJson(const JsonReport& report, std::ostream& out);
// The same text as a string.
std::string HealthJsonText(const JsonReport& report);

}  // namespace tw::reports
