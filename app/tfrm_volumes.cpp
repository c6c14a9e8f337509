#include "app/tfrm_volumes.h"

#include "inventory/number_format.h"
#include "platform/drive_names.h"
#include "platform/system_error_text.h"

namespace tw {

using namespace tw::platform;

namespace {

const char* DriveTypeName(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE: return "Removable";
        case DRIVE_FIXED: return "Fixed";
        case DRIVE_REMOTE: return "Network";
        case DRIVE_CDROM: return "CD-ROM";
        case DRIVE_RAMDISK: return "RAM Disk";
        case DRIVE_NO_ROOT_DIR: return "No Root Directory";
        default: return "Unknown";
    }
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : separator) + p;
    return text;
}

// "E:\" shows as "E:".
std::vector<std::string> Letters(const std::vector<std::string>& roots) {
    std::vector<std::string> out;
    for (const std::string& r : roots) out.push_back(r.substr(0, 2));
    return out;
}

}  // namespace

std::vector<std::string> VolumeCells(const inventory::VolumeEntry& v, Kernel& kernel, Locale& locale) {
    const inventory::NumberSeparators sep = inventory::ReadSeparators(locale);
    auto size = [&](const std::optional<std::uint64_t>& bytes) {
        return bytes ? inventory::SizeText(static_cast<long double>(*bytes), sep) : std::string();
    };
    return {v.name,
            v.pathsError ? "(" + ErrorText(kernel, v.pathsError) + ")" : Joined(Letters(v.driveRoots), " "),
            Joined(v.mountPoints, "; "),
            DriveTypeName(v.driveType),
            v.fileSystem,
            v.label,
            v.hasVolumeInfo ? inventory::SerialText(v.serial) : "",
            size(v.capacity),
            size(v.freeBytes)};
}

TfrmVolumes::TfrmVolumes(Platform& platform, Dialogs& dialogs)
    : FormLogic(FormId::Volumes, dialogs), platform_(platform) {
    Component& list = Declare(VolumesControl::Volumes, ComponentKind::ListView, "Volumes");
    list.columns.assign(std::begin(kVolumeColumns), std::end(kVolumeColumns));
    Declare(VolumesControl::Refresh, ComponentKind::Button, "Refresh").onClick = [this] { Button1Click(); };
    Declare(VolumesControl::Status, ComponentKind::Edit, "Status").readOnly = true;
}

void TfrmVolumes::FormShow() {
    Dispatch([this] { Button1Click(); });
}

void TfrmVolumes::Button1Click() {
    listing_ = inventory::ListVolumes(platform_.kernel());
    const inventory::VolumeListing& listing = listing_;
    Component& list = Get(VolumesControl::Volumes);
    list.rows.clear();
    size_t withoutLetter = 0;
    for (const inventory::VolumeEntry& v : listing.volumes) {
        list.rows.push_back(VolumeCells(v, platform_.kernel(), platform_.locale()));
        if (v.driveRoots.empty()) ++withoutLetter;
    }
    const size_t n = listing.volumes.size();
    std::string status = Decimal(n) + (n == 1 ? " volume" : " volumes");
    if (withoutLetter > 0) status += ", " + Decimal(withoutLetter) + " without a drive letter";
    status += ".";
    if (listing.error != 0) {
        status += " The search for volumes stopped: " + ErrorText(platform_.kernel(), listing.error) + ".";
    }
    Get(VolumesControl::Status).text = status;
}

}  // namespace tw
