// Names and units the disk's health is told in, as text and as JSON.
#pragma once
#include <optional>
#include <string>

#include "diagnostics/disk_health.h"
#include "platform/drive_names.h"
#include "platform/health_records.h"

namespace tw::reports::health_names {

using namespace tw::diagnostics;
using platform::Decimal;

// A counter too wide for nlohmann's integers travels as a string holding
// this mark and its digits; the JSON text writes the digits bare. Texts
// from a disk are trimmed of control characters, so none starts so.
inline constexpr char kWideMark = '\x01';

inline std::string BusName(const std::optional<platform::DWORD>& bus) {
    if (!bus) return "unknown (the disk does not say)";
    switch (*bus) {
        case platform::BusTypeScsi: return "SCSI";
        case platform::BusTypeAtapi: return "ATAPI";
        case platform::BusTypeAta: return "ATA";
        case platform::BusType1394: return "1394";
        case platform::BusTypeFibre: return "Fibre Channel";
        case platform::BusTypeUsb: return "USB";
        case platform::BusTypeRAID: return "RAID";
        case platform::BusTypeSas: return "SAS";
        case platform::BusTypeSata: return "SATA";
        case platform::BusTypeNvme: return "NVMe";
        default: return "type " + Decimal(*bus);
    }
}

inline const char* VerdictText(DiskVerdict v) {
    switch (v) {
        case DiskVerdict::kPassed: return "passed";
        case DiskVerdict::kThresholdExceeded: return "threshold exceeded";
        case DiskVerdict::kNotGiven: break;
    }
    return "not given";
}

inline std::string Celsius(std::uint16_t kelvin) {
    const auto c = KelvinToCelsius(kelvin);
    return c ? Decimal(*c) + " C (" + Decimal(kelvin) + " K)" : "not reported";
}

struct CounterLine {
    const char* name;
    const Counter128 NvmeHealthLog::*field;
};
inline constexpr CounterLine kCounters[] = {
    {"Data Units Read", &NvmeHealthLog::dataUnitsRead},
    {"Data Units Written", &NvmeHealthLog::dataUnitsWritten},
    {"Host Read Commands", &NvmeHealthLog::hostReadCommands},
    {"Host Write Commands", &NvmeHealthLog::hostWriteCommands},
    {"Controller Busy Minutes", &NvmeHealthLog::controllerBusyMinutes},
    {"Power Cycles", &NvmeHealthLog::powerCycles},
    {"Power On Hours", &NvmeHealthLog::powerOnHours},
    {"Unsafe Shutdowns", &NvmeHealthLog::unsafeShutdowns},
    {"Media Errors", &NvmeHealthLog::mediaErrors},
    {"Error Log Entries", &NvmeHealthLog::errorLogEntries},
};
inline constexpr int kDataUnitCounters = 2;  // the first two count data units

}  // namespace tw::reports::health_names
