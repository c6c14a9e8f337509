#include "inventory/drive_chooser.h"

#include <array>
#include <vector>

#include "platform/drive_names.h"

namespace tw::inventory {

using namespace tw::platform;

void FillDriveChooser(Kernel& kernel, ComboBox& box, UINT wantedType, const std::function<void()>& onChange) {
    // A window shown a second time must not list its drives twice.
    box.items.clear();
    std::vector<char> buffer(255, 0);
    const DWORD length = kernel.GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), buffer.data());
    // A list that does not fit is not walked: the buffer holds nothing.
    if (length > 0 && length < buffer.size()) {
        for (size_t i = 0; i + 1 < buffer.size(); ++i) {
            const char c = buffer[i];
            if (c == 0 && buffer[i + 1] == 0) break;
            if (!IsDriveLetter(c)) continue;
            if (kernel.GetDriveTypeA(DriveName(c).c_str()) != wantedType) continue;
            const std::string root = RootPath(c);
            std::array<char, 81> label{};
            if (!kernel.GetVolumeInformationA(root.c_str(), label.data(), static_cast<DWORD>(label.size()), nullptr,
                                              nullptr, nullptr, nullptr, 0)) {
                label[0] = 0;
            }
            label.back() = 0;
            box.items.push_back(DriveName(c) + " [" + label.data() + "]");
        }
    }
    box.itemIndex = box.items.empty() ? -1 : 0;
    if (onChange) onChange();
}

}  // namespace tw::inventory
