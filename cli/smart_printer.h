// tarnwell-cli smart: a S.M.A.R.T. read printed field by field.
#pragma once
#include <ostream>
#include <string>

#include "cli/json_report.h"
#include "diagnostics/smart_result.h"

namespace tw::cli {

// "Name: value" lines for the fields, one tab-separated line per attribute,
// then "Result: true|false" and "Error: text".
void PrintSmartResult(const diagnostics::TSmartResult& result, bool ok, const std::string& errorText,
                      std::ostream& out);
// The same as one JSON object: the fields under their names, "Attributes" as
// a list of objects, then "Result" and "Error" (null when there is none).
JsonReport SmartReport(const diagnostics::TSmartResult& result, bool ok, const std::string& errorText);

}  // namespace tw::cli
