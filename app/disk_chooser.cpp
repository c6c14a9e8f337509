#include "app/disk_chooser.h"

#include <map>
#include <string>

#include "diagnostics/disk_health.h"
#include "inventory/drive_chooser.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;

namespace {

// Disk numbers looked for beyond those of the drives; the system numbers
// its disks from 0 and leaves few gaps.
constexpr std::uint32_t kDisksLookedFor = 16;
constexpr const char* kDash = " \xE2\x80\x94 ";  // " — "

// A disk is there unless the system says it knows no such device; one that
// refuses to open (no rights) is there too.
bool DiskIsThere(Device& device, std::uint32_t number) {
    const std::string path = PhysicalDrivePath(number);
    const HANDLE handle =
        device.CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, 0);
    if (handle != INVALID_HANDLE_VALUE) {
        device.CloseHandle(handle);
        return true;
    }
    const DWORD error = device.GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// "Disk 0, Brightmoor BM500A2"; "Disk 0" when the disk does not say.
std::string DiskName(Platform& platform, std::uint32_t number) {
    const diagnostics::DiskHealth health = diagnostics::ReadDiskHealth(platform, static_cast<std::int32_t>(number));
    std::string model = health.model;
    if (model.empty() && health.driverIdentified) model = health.driverIdentified->ModelNumber;
    return "Disk " + Decimal(number) + (model.empty() ? "" : ", " + model);
}

}  // namespace

std::vector<DiskChoice> FillDiskChooser(Platform& platform, Component& chooser, UINT driveType,
                                        const DiskChoice& preferred) {
    inventory::ComboBox box;
    inventory::FillDriveChooser(platform.kernel(), box, driveType, {});
    std::vector<DiskChoice> choices;
    std::map<std::uint32_t, std::string> names;  // each disk read once
    bool sharedDriver = false;
    for (std::string& item : box.items) {
        choices.push_back({item[0], std::nullopt});
        const ReadableDisk disk = DiskOfDrive(platform, item[0]);
        if (disk.number && !disk.partition) sharedDriver = true;
        if (!disk.number || !disk.partition) continue;
        auto named = names.find(*disk.number);
        if (named == names.end()) named = names.emplace(*disk.number, DiskName(platform, *disk.number)).first;
        item += kDash + named->second;
    }
    if (!sharedDriver) {
        for (std::uint32_t n = 0; n < kDisksLookedFor; ++n) {
            if (names.count(n) || !DiskIsThere(platform.device(), n)) continue;
            box.items.push_back(DiskName(platform, n));
            choices.push_back({std::nullopt, n});
        }
    }
    box.itemIndex = box.items.empty() ? -1 : 0;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const bool same = preferred.letter ? choices[i].letter == preferred.letter
                                           : preferred.disk && choices[i].disk == preferred.disk;
        if (same) box.itemIndex = static_cast<int>(i);
    }
    chooser.items = box.items;
    chooser.itemIndex = box.itemIndex;
    chooser.text = box.Text();
    return choices;
}

}  // namespace tw
