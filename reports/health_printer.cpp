#include "reports/health_printer.h"

#include <sstream>

#include "platform/drive_names.h"
#include "platform/health_records.h"
#include "reports/smart_printer.h"

namespace tw::reports {

using namespace tw::diagnostics;
using platform::Decimal;

namespace {

// A counter too wide for nlohmann's integers travels as a string holding
// this mark and its digits; PrintHealthJson writes the digits bare. Texts
// from a disk are trimmed of control characters, so none starts so.
constexpr char kWideMark = '\x01';

JsonReport CounterJson(const Counter128& c) {
    if (c.high == 0) return JsonReport(c.low);
    return JsonReport(std::string(1, kWideMark) + CounterDecimal(c));
}

std::string BusName(const std::optional<platform::DWORD>& bus) {
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

const char* VerdictText(DiskVerdict v) {
    switch (v) {
        case DiskVerdict::kPassed: return "passed";
        case DiskVerdict::kThresholdExceeded: return "threshold exceeded";
        case DiskVerdict::kNotGiven: break;
    }
    return "not given";
}

std::string Celsius(std::uint16_t kelvin) {
    const auto c = KelvinToCelsius(kelvin);
    return c ? Decimal(*c) + " C (" + Decimal(kelvin) + " K)" : "not reported";
}

struct CounterLine {
    const char* name;
    const Counter128 NvmeHealthLog::*field;
};
constexpr CounterLine kCounters[] = {
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
constexpr int kDataUnitCounters = 2;  // the first two count data units

void PrintNvme(const NvmeHealthLog& log, std::ostream& out) {
    const auto warnings = CriticalWarnings(log.criticalWarning);
    out << "Critical Warning: " << Decimal(log.criticalWarning);
    for (std::size_t i = 0; i < warnings.size(); ++i) out << (i ? "; " : " (") << warnings[i];
    out << (warnings.empty() ? "" : ")") << '\n';
    out << "Temperature: " << Celsius(log.compositeKelvin) << '\n';
    out << "Available Spare: " << Decimal(log.availableSpare) << "%"
        << (SpareBelowThreshold(log) ? " (below its threshold)" : "") << '\n';
    out << "Available Spare Threshold: " << Decimal(log.spareThreshold) << "%\n";
    out << "Percentage Used: " << Decimal(log.percentageUsed) << "%\n";
    for (int i = 0; i < static_cast<int>(std::size(kCounters)); ++i) {
        const Counter128& c = log.*kCounters[i].field;
        out << kCounters[i].name << ": " << CounterDecimal(c);
        if (i < kDataUnitCounters) out << " (" << CounterTimesDecimal(c, nvme_log::kDataUnitBytes) << " bytes)";
        out << '\n';
    }
    out << "Warning Temperature Minutes: " << Decimal(log.warningTempMinutes) << '\n';
    out << "Critical Temperature Minutes: " << Decimal(log.criticalTempMinutes) << '\n';
    for (std::size_t i = 0; i < log.sensorKelvin.size(); ++i) {
        out << "Temperature Sensor " << Decimal(i + 1) << ": "
            << (log.sensorKelvin[i] ? Celsius(log.sensorKelvin[i]) : std::string("absent")) << '\n';
    }
}

JsonReport NvmeReport(const NvmeHealthLog& log) {
    JsonReport warnings = JsonReport::array();
    for (const std::string& w : CriticalWarnings(log.criticalWarning)) warnings.push_back(w);
    auto celsius = [](std::uint16_t k) {
        const auto c = KelvinToCelsius(k);
        return c ? JsonReport(*c) : JsonReport(nullptr);
    };
    JsonReport r = {
        {"CriticalWarning", log.criticalWarning},
        {"CriticalWarnings", warnings},
        {"TemperatureKelvin", log.compositeKelvin},
        {"TemperatureCelsius", celsius(log.compositeKelvin)},
        {"AvailableSpare", log.availableSpare},
        {"AvailableSpareThreshold", log.spareThreshold},
        {"SpareBelowThreshold", SpareBelowThreshold(log)},
        {"PercentageUsed", log.percentageUsed},
    };
    for (int i = 0; i < static_cast<int>(std::size(kCounters)); ++i) {
        std::string key;
        for (const char* p = kCounters[i].name; *p; ++p) {
            if (*p != ' ') key += *p;
        }
        const Counter128& c = log.*kCounters[i].field;
        r[key] = CounterJson(c);
        if (i < kDataUnitCounters) {
            r[key + "Bytes"] = std::string(1, kWideMark) + CounterTimesDecimal(c, nvme_log::kDataUnitBytes);
        }
    }
    r["WarningTemperatureMinutes"] = log.warningTempMinutes;
    r["CriticalTemperatureMinutes"] = log.criticalTempMinutes;
    JsonReport sensors = JsonReport::array();
    for (const std::uint16_t k : log.sensorKelvin) sensors.push_back(k ? JsonReport(celsius(k)) : JsonReport(nullptr));
    r["TemperatureSensorsCelsius"] = sensors;
    return r;
}

}  // namespace

void PrintDiskHealth(const DiskHealth& h, std::ostream& out) {
    out << "Disk: " << Decimal(h.disk) << '\n';
    out << "Bus: " << BusName(h.busType) << '\n';
    out << "Route: " << RouteName(h.route) << '\n';
    for (const RouteAttempt& a : h.attempts) out << "Tried: " << RouteName(a.route) << ": " << a.outcome << '\n';
    if (h.Answered()) {
        out << "Model: " << h.model << '\n';
        out << "Serial Number: " << h.serial << '\n';
        out << "Firmware: " << h.firmware << '\n';
        out << "Capacity: " << CounterDecimal(h.capacityBytes) << " bytes\n";
    }
    if (h.ata) {
        out << "Disk's Own Verdict: " << VerdictText(h.verdict) << '\n';
        out << "Failing: " << Decimal(h.ata->FailingCount) << '\n';
        out << "Warnings: " << Decimal(h.ata->WarningCount) << '\n';
        out << "Temperature: " << Decimal(h.ata->Temperature) << " C\n";
        out << "Attributes: " << Decimal(h.ata->AttrCount) << '\n';
        PrintAttributeLines(*h.ata, out);
    }
    if (h.nvme) PrintNvme(*h.nvme, out);
    out << "Error:" << (h.error.empty() ? "" : " ") << h.error << '\n';
}

JsonReport DiskHealthReport(const DiskHealth& h) {
    JsonReport attempts = JsonReport::array();
    for (const RouteAttempt& a : h.attempts) {
        attempts.push_back({{"Route", RouteName(a.route)}, {"Answered", a.answered}, {"Outcome", a.outcome}});
    }
    JsonReport r = {
        {"Disk", h.disk},
        {"Bus", h.busType ? JsonReport(BusName(h.busType)) : JsonReport(nullptr)},
        {"Route", h.Answered() ? JsonReport(RouteName(h.route)) : JsonReport(nullptr)},
        {"Tried", attempts},
        {"BridgeRefusedBoth", h.bridgeRefusedBoth},
        {"Model", TextOrNull(h.model)},
        {"SerialNumber", TextOrNull(h.serial)},
        {"Firmware", TextOrNull(h.firmware)},
        {"CapacityBytes", h.Answered() ? CounterJson(h.capacityBytes) : JsonReport(nullptr)},
    };
    if (h.ata) {
        r["Verdict"] = h.verdict == DiskVerdict::kNotGiven ? JsonReport(nullptr) : JsonReport(VerdictText(h.verdict));
        r["FailingCount"] = h.ata->FailingCount;
        r["WarningCount"] = h.ata->WarningCount;
        r["Temperature"] = h.ata->Temperature;
        r["Attributes"] = AttributeReport(*h.ata);
    }
    if (h.nvme) r["Nvme"] = NvmeReport(*h.nvme);
    r["Error"] = TextOrNull(h.error);
    return r;
}

void PrintHealthJson(const JsonReport& report, std::ostream& out) {
    std::ostringstream text;
    PrintJson(report, text);
    const std::string s = text.str();
    const std::string mark = "\"\\u0001";
    std::string result;
    std::size_t at = 0;
    for (std::size_t found; (found = s.find(mark, at)) != std::string::npos;) {
        const std::size_t digits = found + mark.size();
        const std::size_t end = s.find('"', digits);
        result.append(s, at, found - at);
        result.append(s, digits, end - digits);
        at = end + 1;
    }
    result.append(s, at, std::string::npos);
    out << result;
}

}  // namespace tw::reports
