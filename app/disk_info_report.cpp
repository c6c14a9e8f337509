#include "app/disk_info_report.h"

namespace tw {

using reports::JsonReport;
using reports::NumberOrNull;
using reports::TextOrNull;

JsonReport DiskInfoReport(const TfrmDiskInfo& form, std::optional<char> letter) {
    const DiskInfoNumbers& numbers = form.Numbers();
    JsonReport report = {{"Drive", letter ? JsonReport(std::string(1, *letter) + ":") : JsonReport(nullptr)}};
    for (ComponentSlot slot = 0; slot < form.ComponentCount(); ++slot) {
        const Component& c = form.At(slot);
        if (c.kind != ComponentKind::Edit) continue;
        if (&c == &form.Get(DiskInfoControl::Size)) {
            report[c.caption] = NumberOrNull(numbers.sizeBytes);
        } else if (&c == &form.Get(DiskInfoControl::Partition)) {
            report[c.caption] = NumberOrNull(numbers.partition);
        } else if (&c == &form.Get(DiskInfoControl::ClusterSize)) {
            report[c.caption] = NumberOrNull(numbers.clusterBytes);
        } else {
            report[c.caption] = TextOrNull(c.text);
        }
    }
    report["Status"] = TextOrNull(form.Get(DiskInfoControl::Status).text);
    return report;
}

}  // namespace tw
