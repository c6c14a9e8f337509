// The drive list as text: a header with the column captions, then one line
// per row with the caption, the cells, the image index and the text colour,
// separated by tabs.
#pragma once
#include <ostream>
#include <vector>

#include "inventory/drive_row.h"

namespace tw::cli {

void PrintList(const std::vector<inventory::DriveRow>& rows, std::ostream& out);

}  // namespace tw::cli
