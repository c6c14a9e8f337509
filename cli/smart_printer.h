// tarnwell-cli smart: a S.M.A.R.T. read printed field by field.
#pragma once
#include <ostream>
#include <string>

#include "diagnostics/smart_result.h"

namespace tw::cli {

// "Name: value" lines for the fields, one tab-separated line per attribute,
// then "Result: true|false" and "Error: text".
void PrintSmartResult(const diagnostics::TSmartResult& result, bool ok, const std::string& errorText,
                      std::ostream& out);

}  // namespace tw::cli
