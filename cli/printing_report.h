// The log of a long task, printed line by line as it comes.
#pragma once
#include <ostream>
#include <string>

#include "diagnostics/task_report.h"

namespace tw::cli {

class PrintingReport final : public diagnostics::TaskReport {
public:
    explicit PrintingReport(std::ostream& out) : out_(out) {}
    void Percent(int) override {}
    void Line(const std::string& text) override { out_ << text << '\n'; }
    bool StopRequested() override { return false; }

private:
    std::ostream& out_;
};

}  // namespace tw::cli
