// The chooser of the disk windows: the shared drive-chooser fill of the
// fixed drives, each entry naming the physical disk it lives on and the
// disk's model ("C: [System] — Disk 0, Brightmoor BM500A2"), then the disks
// no drive letter names ("Disk 2, Kestrel NV2").
#pragma once
#include <optional>
#include <vector>

#include "app/component.h"
#include "app/disk_window.h"
#include "platform/platform.h"

namespace tw {

// Fills `chooser` and chooses the entry of `preferred` when it is listed,
// entry 0 otherwise; returns what each entry shows. On the 9x family, whose
// one SMART driver does not say which disk a drive is on, the drives alone.
std::vector<DiskChoice> FillDiskChooser(platform::Platform& platform, Component& chooser, platform::UINT driveType,
                                        const DiskChoice& preferred);

}  // namespace tw
