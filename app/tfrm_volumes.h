// "Volumes": every volume of the system, those without a drive letter too,
// with its letters and mount-point folders, type, file system, label, serial
// and size.
#pragma once
#include <string>

#include "app/component_table.h"
#include "app/form_logic.h"
#include "inventory/volume_list.h"
#include "platform/platform.h"

namespace tw {

enum class VolumesControl {
    Volumes,  // one row per volume
    Refresh,
    Status,
};

inline constexpr ComponentEntry<VolumesControl> kVolumesControls[] = {
    {VolumesControl::Volumes, "ListView1"},
    {VolumesControl::Refresh, "Button1"},
    {VolumesControl::Status, "Edit1"},
};
static_assert(ListsEveryIdInOrder(kVolumesControls));
constexpr std::string_view ComponentName(VolumesControl id) { return kVolumesControls[static_cast<int>(id)].name; }

// The cells of one volume, in the order of the window's columns.
inline constexpr const char* kVolumeColumns[] = {
    "Volume Name", "Drive Letters", "Mount Points", "Drive Type", "File System", "Label", "Serial", "Capacity", "Free"};
std::vector<std::string> VolumeCells(const inventory::VolumeEntry& v, platform::Kernel& kernel,
                                     platform::Locale& locale);

class TfrmVolumes : public FormLogic {
public:
    TfrmVolumes(platform::Platform& platform, Dialogs& dialogs);

    void FormShow() override;
    void Button1Click();  // Refresh
    // The last search, as the list shows it.
    const inventory::VolumeListing& Listing() const { return listing_; }

private:
    platform::Platform& platform_;
    inventory::VolumeListing listing_;
};

}  // namespace tw
