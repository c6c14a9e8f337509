// Walks the drive letters and builds one row per drive: the body of a list
// refresh, without the window around it.
#pragma once
#include <vector>

#include "inventory/drive_row.h"
#include "platform/platform.h"

namespace tw::inventory {

// The option panel's kind filters: an unchecked kind is dropped.
struct KindFilters {
    bool local = true;         // CheckBox1
    bool optical = true;       // CheckBox2
    bool removable = true;     // CheckBox3
    bool network = true;       // CheckBox4
    bool notMounted = true;    // CheckBox5
    bool disconnected = true;  // CheckBox8
};

struct EnumerationOptions {
    bool skipAB = true;
    KindFilters filters;
};

// Appends the rows to `rows` as they are built, so a probe that raises leaves
// the rows made so far. Raises whatever a platform call raises outside the
// space probe, which absorbs its own faults.
void EnumerateDrives(platform::Platform& platform, const EnumerationOptions& options, std::vector<DriveRow>& rows);

}  // namespace tw::inventory
