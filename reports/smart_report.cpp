// A S.M.A.R.T. reading as JSON, kept apart from its text printer so that
// the window links no streams.
#include "reports/smart_printer.h"

#include "platform/drive_names.h"

namespace tw::reports {

using platform::Decimal;

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
    report["Attributes"] = AttributeReport(r);
    report["Result"] = ok;
    report["Error"] = errorText.empty() ? JsonReport(nullptr) : JsonReport(errorText);
    return report;
}

JsonReport AttributeReport(const diagnostics::TSmartResult& r) {
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
    return attributes;
}

}  // namespace tw::reports
