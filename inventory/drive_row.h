// One row of the drive list: the caption ("C: ") and thirteen cells, always in
// this order, so that a cell's index is fixed and the views read cells by it;
// and the facts the row was made from, which everything else reads.
#pragma once
#include <array>
#include <string>

#include "inventory/drive_facts.h"

namespace tw::inventory {

enum Cell : int {
    kLabel = 0,
    kType = 1,
    kAdditionalInfo = 2,
    kSize = 3,
    kUsed = 4,
    kAvailable = 5,
    kBytesFree = 6,
    kFormat = 7,
    kVolumeSerial = 8,
    kPercentFree = 9,
    kVisibility = 10,
    kVendor = 11,
    kProductId = 12,
};
constexpr int kCellCount = 13;

// Small-image indexes of the row kinds.
enum Image : int {
    kImageLocal = 0,
    kImageNetwork = 1,
    kImageOptical = 2,
    kImageRemovable = 3,
    kImageDisconnected = 5,
};

struct DriveRow {
    std::string caption;
    std::array<std::string, kCellCount> cells;
    int image = kImageLocal;
    DriveFacts facts;

    // The drive letter: the first character of the caption.
    char Letter() const { return caption.empty() ? 0 : caption[0]; }
};

}  // namespace tw::inventory
