// A S.M.A.R.T. read field by field, as tarnwell-cli smart prints it.
#pragma once
#include <ostream>
#include <string>

#include "diagnostics/smart_result.h"
#include "reports/json_report.h"

namespace tw::reports {

// "Name: value" lines for the fields, one tab-separated line per attribute,
// then "Result: true|false" and "Error: text".
void PrintSmartResult(const diagnostics::TSmartResult& result, bool ok, const std::string& errorText,
                      std::ostream& out);
// The attribute lines alone: id, name, the three flag bits, current, worst,
// threshold, raw and state, tab-separated.
void PrintAttributeLines(const diagnostics::TSmartResult& result, std::ostream& out);
// The attributes as a list of objects, as the JSON report holds them.
JsonReport AttributeReport(const diagnostics::TSmartResult& result);
// The same as one JSON object: the fields under their names, "Attributes" as
// a list of objects, then "Result" and "Error" (null when there is none).
JsonReport SmartReport(const diagnostics::TSmartResult& result, bool ok, const std::string& errorText);

}  // namespace tw::reports
