#include "app/tfrm_usb_drives.h"

#include "inventory/number_format.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;

namespace {

std::string Count(size_t n, const char* one, const char* many) { return Decimal(n) + " " + (n == 1 ? one : many); }

}  // namespace

std::string DiskSizeText(const diagnostics::DiskDrive& disk, Locale& locale) {
    if (!disk.size) return "";
    const inventory::NumberSeparators sep = inventory::ReadSeparators(locale);
    return inventory::SizeText(static_cast<long double>(*disk.size), sep) + " (" +
           inventory::FormatGrouped(*disk.size, sep) + " bytes)";
}

std::string DriveLettersText(const diagnostics::DiskDrive& disk) {
    std::string text;
    for (const std::string& letter : disk.driveLetters) text += (text.empty() ? "" : " ") + letter;
    return text;
}

TfrmUSBDrives::TfrmUSBDrives(Platform& platform, Dialogs& dialogs)
    : FormLogic(FormId::UsbDrives, dialogs), platform_(platform) {
    using U = UsbDrivesControl;
    Declare(U::Disks, ComponentKind::ListView, "Disks").columns = {"Disk",       "Model",         "Serial Number",
                                                                   "Size",       "Media Type",    "Interface",
                                                                   "Partitions", "Drive Letters", "PNP Device ID"};
    Declare(U::ShowAll, ComponentKind::CheckBox, "Show all disks").onClick = [this] { CheckBox1Click(); };
    Declare(U::Refresh, ComponentKind::Button, "Refresh").onClick = [this] { Button1Click(); };
    Declare(U::Status, ComponentKind::Edit, "Status").readOnly = true;
}

void TfrmUSBDrives::FormShow() {
    Dispatch([this] { Button1Click(); });
}

void TfrmUSBDrives::CheckBox1Click() { Button1Click(); }

std::string TfrmUSBDrives::StatusText(bool allDisks) const {
    if (Failed(report_.result)) {
        return "The disks could not be listed: " + WmiErrorText(platform_.kernel(), report_.result);
    }
    std::string text = report_.disks.empty() ? (allDisks ? "No disks found." : "No USB disks found.")
                                             : Count(report_.disks.size(), allDisks ? "disk" : "USB disk",
                                                     allDisks ? "disks" : "USB disks");
    if (Failed(report_.lettersResult)) {
        text += " Drive letters unknown: " + WmiErrorText(platform_.kernel(), report_.lettersResult);
    }
    return text;
}

void TfrmUSBDrives::Button1Click() {
    const bool all = Checked(UsbDrivesControl::ShowAll);
    {
        // The service can take seconds to start.
        struct Hourglass {
            Dialogs& d;
            ~Hourglass() { d.SetWaitCursor(false); }
        } hourglass{dialogs_};
        dialogs_.SetWaitCursor(true);
        report_ = diagnostics::ReadDiskDrives(platform_.wmi(), all);
    }
    Component& list = Get(UsbDrivesControl::Disks);
    list.rows.clear();
    for (const diagnostics::DiskDrive& d : report_.disks) {
        list.rows.push_back({d.index >= 0 ? Decimal(d.index) : "", d.model, d.serial,
                             DiskSizeText(d, platform_.locale()), d.mediaType, d.interfaceType,
                             d.partitions ? Decimal(*d.partitions) : "", DriveLettersText(d), d.pnpDeviceId});
    }
    Get(UsbDrivesControl::Status).text = StatusText(all);
}

}  // namespace tw
