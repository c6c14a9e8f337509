#include "reports/health_printer.h"

#include "reports/health_names.h"
#include "reports/smart_printer.h"

namespace tw::reports {

using namespace tw::diagnostics;
using namespace tw::reports::health_names;

namespace {

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

void PrintHealthJson(const JsonReport& report, std::ostream& out) { out << HealthJsonText(report); }

}  // namespace tw::reports
