// The SMART window's table for an NVMe disk: its health log as rows of
// name, value and unit, the values that need a look in their colour.
#pragma once
#include <string>
#include <vector>

#include "app/component.h"
#include "diagnostics/nvme_health.h"

namespace tw {

// The headings of the table the rows fill.
std::vector<std::string> NvmeHealthColumns();

struct NvmeHealthRow {
    std::vector<std::string> cells;  // name, value, unit
    Tone tone = Tone::Plain;
};

// Every value of the log; temperature sensors the controller lacks are left out.
std::vector<NvmeHealthRow> NvmeHealthRows(const diagnostics::NvmeHealthLog& log);

}  // namespace tw
