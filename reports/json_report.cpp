#include "reports/json_report.h"

namespace tw::reports {

void PrintJson(const JsonReport& report, std::ostream& out) {
    out << report.dump(2, ' ', false, JsonReport::error_handler_t::replace) << '\n';
}

}  // namespace tw::reports
