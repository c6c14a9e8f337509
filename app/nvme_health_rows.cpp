#include "app/nvme_health_rows.h"

#include "app/disk_window.h"
#include "app/smart_summaries.h"
#include "platform/drive_names.h"

namespace tw {

using diagnostics::Counter128;
using diagnostics::NvmeHealthLog;
using platform::Decimal;

namespace {

constexpr const char* kDegrees =
    "\xC2\xB0"
    "C";
constexpr int kRatedLifePercent = 100;

struct CounterRow {
    const char* name;
    const Counter128 NvmeHealthLog::*field;
    const char* unit;
};
constexpr CounterRow kCounters[] = {
    {"Data Units Read", &NvmeHealthLog::dataUnitsRead, "units of 512,000 bytes"},
    {"Data Units Written", &NvmeHealthLog::dataUnitsWritten, "units of 512,000 bytes"},
    {"Host Read Commands", &NvmeHealthLog::hostReadCommands, "commands"},
    {"Host Write Commands", &NvmeHealthLog::hostWriteCommands, "commands"},
    {"Controller Busy Time", &NvmeHealthLog::controllerBusyMinutes, "minutes"},
    {"Power Cycles", &NvmeHealthLog::powerCycles, "cycles"},
    {"Power On Hours", &NvmeHealthLog::powerOnHours, "hours"},
    {"Unsafe Shutdowns", &NvmeHealthLog::unsafeShutdowns, "shutdowns"},
    {"Media and Data Integrity Errors", &NvmeHealthLog::mediaErrors, "errors"},
    {"Error Log Entries", &NvmeHealthLog::errorLogEntries, "entries"},
};

NvmeHealthRow Temperature(std::string name, std::uint16_t kelvin) {
    const std::optional<int> celsius = diagnostics::KelvinToCelsius(kelvin);
    if (!celsius) return {{std::move(name), kNotReported, ""}, Tone::Plain};
    return {{std::move(name), Decimal(*celsius), kDegrees}, TemperatureTone(*celsius)};
}

}  // namespace

std::vector<std::string> NvmeHealthColumns() { return {"Name", "Value", "Unit"}; }

std::vector<NvmeHealthRow> NvmeHealthRows(const NvmeHealthLog& log) {
    std::vector<NvmeHealthRow> rows;
    std::string warnings;
    for (const std::string& w : diagnostics::CriticalWarnings(log.criticalWarning)) {
        warnings += (warnings.empty() ? "" : "; ") + w;
    }
    rows.push_back({{"Critical Warning", warnings.empty() ? "none" : warnings, ""},
                    log.criticalWarning ? Tone::Bad : Tone::Plain});
    rows.push_back(Temperature("Composite Temperature", log.compositeKelvin));
    rows.push_back({{"Available Spare", Decimal(int{log.availableSpare}), "%"},
                    diagnostics::SpareBelowThreshold(log) ? Tone::Bad : Tone::Plain});
    rows.push_back({{"Available Spare Threshold", Decimal(int{log.spareThreshold}), "%"}, Tone::Plain});
    rows.push_back({{"Percentage Used", Decimal(int{log.percentageUsed}), "%"},
                    log.percentageUsed >= kRatedLifePercent ? Tone::Caution : Tone::Plain});
    for (const CounterRow& c : kCounters) {
        const Counter128& value = log.*c.field;
        const bool errors = c.field == &NvmeHealthLog::mediaErrors && value != Counter128{};
        rows.push_back({{c.name, diagnostics::CounterDecimal(value), c.unit}, errors ? Tone::Caution : Tone::Plain});
    }
    rows.push_back({{"Warning Temperature Time", Decimal(log.warningTempMinutes), "minutes"}, Tone::Plain});
    rows.push_back({{"Critical Temperature Time", Decimal(log.criticalTempMinutes), "minutes"}, Tone::Plain});
    for (std::size_t i = 0; i < log.sensorKelvin.size(); ++i) {
        if (log.sensorKelvin[i])
            rows.push_back(Temperature("Temperature Sensor " + Decimal(i + 1), log.sensorKelvin[i]));
    }
    return rows;
}

}  // namespace tw
