#include "reports/smart_printer.h"

#include "platform/drive_names.h"

namespace tw::reports {

using platform::Decimal;

namespace {

const char* Bit(bool b) { return b ? "1" : "0"; }

}  // namespace

void PrintAttributeLines(const diagnostics::TSmartResult& r, std::ostream& out) {
    for (int k = 0; k < r.AttrCount && k < diagnostics::kAttributeSlots; ++k) {
        const diagnostics::TSmartAttribute& a = r.Attr[k];
        out << Decimal(a.AttrId) << '\t' << a.AttrName << '\t' << Bit(a.AttrPreFail) << '\t' << Bit(a.AttrEvents)
            << '\t' << Bit(a.AttrErrorRate) << '\t' << Decimal(a.AttrCurrent) << '\t' << Decimal(a.AttrWorst) << '\t'
            << Decimal(a.AttrThreshold) << '\t' << Decimal(a.AttrRaw) << '\t' << a.AttrState << '\n';
    }
}

void PrintSmartResult(const diagnostics::TSmartResult& r, bool ok, const std::string& errorText, std::ostream& out) {
    const std::pair<const char*, std::string> fields[] = {
        {"DriveNum", Decimal(r.DriveNum)},
        {"SizeBytes", Decimal(r.SizeBytes)},
        {"SerialNumber", r.SerialNumber},
        {"FirmwareRev", r.FirmwareRev},
        {"ModelNumber", r.ModelNumber},
        {"IdentifyWord47", Decimal(r.IdentifyWord47)},
        {"Temperature", Decimal(r.Temperature)},
        {"TemperatureByte2", Decimal(r.TemperatureByte2)},
        {"TemperatureByte4", Decimal(r.TemperatureByte4)},
        {"PowerOnValue", Decimal(r.PowerOnValue)},
        {"ReallocatedSectors", Decimal(r.ReallocatedSectors)},
        {"PowerCycles", Decimal(r.PowerCycles)},
        {"FailingCount", Decimal(r.FailingCount)},
        {"WarningCount", Decimal(r.WarningCount)},
        {"AttrCount", Decimal(r.AttrCount)},
    };
    for (const auto& [name, value] : fields) out << name << ": " << value << '\n';
    PrintAttributeLines(r, out);
    out << "Result: " << (ok ? "true" : "false") << '\n';
    out << "Error:" << (errorText.empty() ? "" : " ") << errorText << '\n';
}

}  // namespace tw::reports
