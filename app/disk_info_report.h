// The Disk Information window's fields as one JSON object, as tarnwell-cli
// diskinfo prints it and the window saves it.
#pragma once
#include "app/tfrm_disk_info.h"
#include "reports/json_report.h"

namespace tw {

// "Drive" ("C:", null for a disk with no letter), then the fields under their
// captions (Size, Partition and Cluster Size as numbers), null where the
// window leaves a field empty, then "Status", null when all is well.
reports::JsonReport DiskInfoReport(const TfrmDiskInfo& form, std::optional<char> letter);

}  // namespace tw
