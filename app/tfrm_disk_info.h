// "Disk Information": what a fixed drive is made of. For the chosen drive:
// the identity of its disk (model, serial number, firmware, size), which
// physical disk and partition it is and the bus the disk hangs on, and its
// volume's file system, label, serial number and cluster size. A disk with
// no letter shows its identity alone. What cannot be asked stays empty, a
// partition number the system does not give is not reported ("—"); a disk
// that does not identify says why, and a CD drive that answers in its place
// is named as no disk.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/component_table.h"
#include "app/disk_window.h"
#include "app/rights_line.h"
#include "platform/platform.h"

namespace tw {

enum class DiskInfoControl {
    Title,
    DriveLabel,
    DriveChooser,  // the fixed drives, "C: [label]"
    Model,
    Serial,
    Firmware,
    Size,
    Disk,  // "\\.\PhysicalDrive0"
    Partition,
    BusType,
    FileSystem,
    VolumeLabel,
    VolumeSerial,
    ClusterSize,
    Status,   // why the disk did not identify, empty otherwise
    Refresh,  // "Refresh" (F5), also run when the window is shown
    Copy,     // "Copy" (Ctrl+C): the whole report as text
    SaveAs,   // "Save As...": the report as text or as tarnwell-cli diskinfo's JSON
};

inline constexpr ComponentEntry<DiskInfoControl> kDiskInfoControls[] = {
    {DiskInfoControl::Title, "Label1"},         {DiskInfoControl::DriveLabel, "Label2"},
    {DiskInfoControl::DriveChooser, "cbDrive"}, {DiskInfoControl::Model, "Edit1"},
    {DiskInfoControl::Serial, "Edit2"},         {DiskInfoControl::Firmware, "Edit3"},
    {DiskInfoControl::Size, "Edit4"},           {DiskInfoControl::Disk, "Edit5"},
    {DiskInfoControl::Partition, "Edit6"},      {DiskInfoControl::BusType, "Edit7"},
    {DiskInfoControl::FileSystem, "Edit8"},     {DiskInfoControl::VolumeLabel, "Edit9"},
    {DiskInfoControl::VolumeSerial, "Edit10"},  {DiskInfoControl::ClusterSize, "Edit11"},
    {DiskInfoControl::Status, "lblStatus"},     {DiskInfoControl::Refresh, "Refresh1"},
    {DiskInfoControl::Copy, "Copy1"},           {DiskInfoControl::SaveAs, "SaveAs1"},
};
static_assert(ListsEveryIdInOrder(kDiskInfoControls));
constexpr std::string_view ComponentName(DiskInfoControl id) { return kDiskInfoControls[static_cast<int>(id)].name; }

// The name of a storage bus type ("ATA", "USB", "NVMe"); "Bus type N" for a
// number the program does not know.
std::string BusTypeName(platform::DWORD busType);

// The numbers behind the Size, Partition and Cluster Size fields, for reports
// that want them unformatted; none where the field is empty.
struct DiskInfoNumbers {
    std::optional<std::uint64_t> sizeBytes;
    std::optional<std::uint32_t> partition;
    std::optional<std::uint64_t> clusterBytes;
};

class TfrmDiskInfo : public FixedDriveForm {
public:
    TfrmDiskInfo(platform::Platform& platform, Dialogs& dialogs);

    void ShowDrive(char letter) override;
    void ShowDisk(std::uint32_t number) override;
    const DiskInfoNumbers& Numbers() const { return numbers_; }

private:
    void ShowNothing(const std::string& text) override;
    std::optional<std::string> ReportJson() const override;
    void ClearFields();
    void ShowDiskOf(const ReadableDisk& disk);
    void ShowIdentity(const std::string& model, const std::string& serial, const std::string& firmware,
                      std::uint64_t bytes);
    void ShowVolume(char letter);

    DiskInfoNumbers numbers_;
    std::optional<DiskChoice> shown_;  // the drive or disk the fields are of
};

}  // namespace tw
