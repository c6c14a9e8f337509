// The drive combo box of the diagnostic windows: one entry per drive of the
// wanted type, "C: [label]".
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/kernel.h"

namespace tw::inventory {

struct ComboBox {
    std::vector<std::string> items;
    int itemIndex = -1;

    std::string Text() const {
        return itemIndex >= 0 && itemIndex < static_cast<int>(items.size()) ? items[itemIndex] : std::string();
    }
};

// Empties the box, lists the drives of `wantedType`, selects entry 0 and runs
// `onChange` once.
void FillDriveChooser(platform::Kernel& kernel, ComboBox& box, platform::UINT wantedType,
                      const std::function<void()>& onChange);

}  // namespace tw::inventory
