// The disk's health as one JSON object, for tarnwell-cli health and the
// SMART window's Save As; kept apart from the text printer, so that the
// window links no streams.
#include "reports/health_names.h"
#include "reports/health_printer.h"
#include "reports/smart_printer.h"

namespace tw::reports {

using namespace tw::diagnostics;
using namespace tw::reports::health_names;

namespace {

JsonReport CounterJson(const Counter128& c) {
    if (c.high == 0) return JsonReport(c.low);
    return JsonReport(std::string(1, kWideMark) + CounterDecimal(c));
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

std::string HealthJsonText(const JsonReport& report) {
    const std::string s = JsonText(report);
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
    return result;
}

}  // namespace tw::reports
