#include "app/disk_window.h"

#include "app/disk_chooser.h"
#include "diagnostics/drive_disk.h"
#include "inventory/number_format.h"
#include "platform/drive_names.h"
#include "platform/system_error_text.h"

namespace tw {

using namespace tw::platform;

std::string DiskSizeText(Locale& locale, std::uint64_t bytes) {
    const inventory::NumberSeparators sep = inventory::ReadSeparators(locale);
    return inventory::SizeText(static_cast<long double>(bytes), sep) + " (" + inventory::FormatGrouped(bytes, sep) +
           " bytes)";
}

ReadableDisk DiskOfDrive(Platform& platform, char letter) {
    ReadableDisk disk;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (platform.kernel().GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        disk.number = 0;
        disk.path = kSmartVsdPath;
        return disk;
    }
    const diagnostics::DriveDisk found = diagnostics::PhysicalDiskOfDrive(platform.device(), letter);
    if (!found.number) {
        disk.error = std::string("Cannot find the physical disk of drive ") + letter + ": " +
                     ErrorText(platform.kernel(), found.error);
        return disk;
    }
    disk.number = found.number->deviceNumber;
    disk.partition = found.number->partitionNumber;
    disk.path = PhysicalDrivePath(found.number->deviceNumber);
    return disk;
}

FixedDriveForm::FixedDriveForm(FormId id, platform::Platform& platform, Dialogs& dialogs)
    : FormLogic(id, dialogs), platform_(platform) {}

void FixedDriveForm::FormShow() {
    Dispatch([this] { Refresh1Click(); });
}

void FixedDriveForm::Refresh1Click() {
    Component& chooser = Get(kChooser);
    choices_ = FillDiskChooser(platform_, chooser, platform::DRIVE_FIXED, start_);
    if (chooser.items.empty()) {
        ShowNothing("This computer has no fixed drive.");
        return;
    }
    cbDriveChange();
}

void FixedDriveForm::cbDriveChange() {
    const int index = Get(kChooser).itemIndex;
    if (index < 0 || index >= static_cast<int>(choices_.size())) return;
    start_ = choices_[static_cast<std::size_t>(index)];
    if (start_.letter) {
        ShowDrive(*start_.letter);
    } else if (start_.disk) {
        ShowDisk(*start_.disk);
    }
}

}  // namespace tw
