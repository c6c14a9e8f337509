#include "cli/smart_printer.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace tw::cli {

namespace {

std::string Num(std::int64_t n) {
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
    return std::string(digits.data(), end);
}

const char* Bit(bool b) { return b ? "1" : "0"; }

}  // namespace

void PrintSmartResult(const diagnostics::TSmartResult& r, bool ok, const std::string& errorText, std::ostream& out) {
    const std::pair<const char*, std::string> fields[] = {
        {"DriveNum", Num(r.DriveNum)},
        {"SizeBytes", Num(r.SizeBytes)},
        {"SerialNumber", r.SerialNumber},
        {"FirmwareRev", r.FirmwareRev},
        {"ModelNumber", r.ModelNumber},
        {"IdentifyWord47", Num(r.IdentifyWord47)},
        {"Temperature", Num(r.Temperature)},
        {"TemperatureByte2", Num(r.TemperatureByte2)},
        {"TemperatureByte4", Num(r.TemperatureByte4)},
        {"PowerOnValue", Num(r.PowerOnValue)},
        {"ReallocatedSectors", Num(r.ReallocatedSectors)},
        {"PowerCycles", Num(r.PowerCycles)},
        {"FailingCount", Num(r.FailingCount)},
        {"WarningCount", Num(r.WarningCount)},
        {"AttrCount", Num(r.AttrCount)},
    };
    for (const auto& [name, value] : fields) out << name << ": " << value << '\n';
    for (int k = 0; k < r.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
        const diagnostics::TSmartAttribute& a = r.Attr[k];
        out << Num(a.AttrId) << '\t' << a.AttrName << '\t' << Bit(a.AttrPreFail) << '\t' << Bit(a.AttrEvents) << '\t'
            << Bit(a.AttrErrorRate) << '\t' << Num(a.AttrCurrent) << '\t' << Num(a.AttrWorst) << '\t'
            << Num(a.AttrThreshold) << '\t' << Num(a.AttrRaw) << '\t' << a.AttrState << '\n';
    }
    out << "Result: " << (ok ? "true" : "false") << '\n';
    out << "Error:" << (errorText.empty() ? "" : " ") << errorText << '\n';
}

JsonReport SmartReport(const diagnostics::TSmartResult& r, bool ok, const std::string& errorText) {
    JsonReport report = {
        {"DriveNum", r.DriveNum},
        {"SizeBytes", r.SizeBytes},
        {"SerialNumber", r.SerialNumber},
        {"FirmwareRev", r.FirmwareRev},
        {"ModelNumber", r.ModelNumber},
        {"IdentifyWord47", r.IdentifyWord47},
        {"Temperature", r.Temperature},
        {"TemperatureByte2", r.TemperatureByte2},
        {"TemperatureByte4", r.TemperatureByte4},
        {"PowerOnValue", r.PowerOnValue},
        {"ReallocatedSectors", r.ReallocatedSectors},
        {"PowerCycles", r.PowerCycles},
        {"FailingCount", r.FailingCount},
        {"WarningCount", r.WarningCount},
        {"AttrCount", r.AttrCount},
    };
    JsonReport attributes = JsonReport::array();
    for (int k = 0; k < r.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
        const diagnostics::TSmartAttribute& a = r.Attr[k];
        attributes.push_back({{"Id", a.AttrId},
                              {"Name", a.AttrName},
                              {"PreFailure", a.AttrPreFail},
                              {"EventCount", a.AttrEvents},
                              {"ErrorRate", a.AttrErrorRate},
                              {"Current", a.AttrCurrent},
                              {"Worst", a.AttrWorst},
                              {"Threshold", a.AttrThreshold},
                              {"Raw", a.AttrRaw},
                              {"State", a.AttrState}});
    }
    report["Attributes"] = std::move(attributes);
    report["Result"] = ok;
    report["Error"] = errorText.empty() ? JsonReport(nullptr) : JsonReport(errorText);
    return report;
}

}  // namespace tw::cli
