// Presenting a probed drive: its row of the list (caption, cells, image) and
// whether the option panel's kind filters keep it.
#pragma once
#include "inventory/drive_facts.h"
#include "inventory/drive_row.h"
#include "inventory/number_format.h"

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

// The row of `facts`; a drive whose probing stopped part-way shows the cells
// of the steps it completed and leaves the others empty.
DriveRow PresentRow(const DriveFacts& facts, const NumberSeparators& sep);

// True when an unchecked filter matches the drive.
bool FilteredOut(const KindFilters& filters, const DriveFacts& facts);

}  // namespace tw::inventory
