// "USB Drives": the disks on USB as the management service describes them,
// with the drive letters on each; "Show all disks" lists every disk.
#pragma once
#include <string>
#include <vector>

#include "app/component_table.h"
#include "app/form_logic.h"
#include "diagnostics/disk_drives.h"
#include "platform/platform.h"

namespace tw {

enum class UsbDrivesControl {
    Disks,    // one row per disk
    ShowAll,  // "Show all disks"
    Refresh,
    Status,  // how many disks, or why there are none
};

inline constexpr ComponentEntry<UsbDrivesControl> kUsbDrivesControls[] = {
    {UsbDrivesControl::Disks, "ListView1"},
    {UsbDrivesControl::ShowAll, "CheckBox1"},
    {UsbDrivesControl::Refresh, "Button1"},
    {UsbDrivesControl::Status, "Edit1"},
};
static_assert(ListsEveryIdInOrder(kUsbDrivesControls));
constexpr std::string_view ComponentName(UsbDrivesControl id) { return kUsbDrivesControls[static_cast<int>(id)].name; }

class TfrmUSBDrives : public FormLogic {
public:
    TfrmUSBDrives(platform::Platform& platform, Dialogs& dialogs);

    void FormShow() override;
    // Asks the service again and shows what it says.
    void Button1Click();
    void CheckBox1Click();

    // The last report, as the list shows it.
    const diagnostics::DiskDriveReport& Report() const { return report_; }
    // The status line of a report: the count of disks, or the failure.
    std::string StatusText(bool allDisks) const;

private:
    platform::Platform& platform_;
    diagnostics::DiskDriveReport report_;
};

// The texts of a disk as the window and the command line show them.
std::string DiskSizeText(const diagnostics::DiskDrive& disk, platform::Locale& locale);
std::string DriveLettersText(const diagnostics::DiskDrive& disk);

}  // namespace tw
