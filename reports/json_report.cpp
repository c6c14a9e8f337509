#include "reports/json_report.h"

namespace tw::reports {

std::string JsonText(const JsonReport& report) {
    return report.dump(2, ' ', false, JsonReport::error_handler_t::replace) + '\n';
}

}  // namespace tw::reports
