#include "app/tfrm_disk_info.h"

#include <array>

#include "app/disk_info_report.h"
#include "app/disk_window.h"
#include "diagnostics/disk_health.h"
#include "diagnostics/smart_api.h"
#include "inventory/device_probes.h"
#include "inventory/number_format.h"
#include "platform/drive_names.h"

namespace tw {

using namespace tw::platform;

std::string BusTypeName(DWORD busType) {
    static constexpr const char* kNames[] = {
        "Unknown",        "SCSI",  "ATAPI", "ATA",  "IEEE 1394", "SSA", "Fibre Channel", "USB",
        "RAID",           "iSCSI", "SAS",   "SATA", "SD",        "MMC", "Virtual",       "File-backed virtual",
        "Storage Spaces", "NVMe"};
    if (busType < std::size(kNames)) return kNames[busType];
    return "Bus type " + Decimal(busType);
}

TfrmDiskInfo::TfrmDiskInfo(Platform& platform, Dialogs& dialogs) : FixedDriveForm(FormId::DiskInfo, platform, dialogs) {
    using D = DiskInfoControl;
    Declare(D::Title, ComponentKind::Label, "Disk Information");
    Declare(D::DriveLabel, ComponentKind::Label, "Select Drive");
    Declare(D::DriveChooser, ComponentKind::ComboBox, "").onChange = [this] { cbDriveChange(); };
    Declare(D::Model, ComponentKind::Edit, "Model").readOnly = true;
    Declare(D::Serial, ComponentKind::Edit, "Serial Number").readOnly = true;
    Declare(D::Firmware, ComponentKind::Edit, "Firmware").readOnly = true;
    Declare(D::Size, ComponentKind::Edit, "Size").readOnly = true;
    Declare(D::Disk, ComponentKind::Edit, "Physical Disk").readOnly = true;
    Declare(D::Partition, ComponentKind::Edit, "Partition").readOnly = true;
    Declare(D::BusType, ComponentKind::Edit, "Bus Type").readOnly = true;
    Declare(D::FileSystem, ComponentKind::Edit, "File System").readOnly = true;
    Declare(D::VolumeLabel, ComponentKind::Edit, "Volume Label").readOnly = true;
    Declare(D::VolumeSerial, ComponentKind::Edit, "Volume Serial").readOnly = true;
    Declare(D::ClusterSize, ComponentKind::Edit, "Cluster Size").readOnly = true;
    Declare(D::Status, ComponentKind::Label, "Status");
    Declare(D::Refresh, ComponentKind::MenuItem, "Refresh").onClick = [this] { Refresh1Click(); };
    Declare(D::Copy, ComponentKind::MenuItem, "Copy").onClick = [this] { Copy1Click(); };
    Declare(D::SaveAs, ComponentKind::MenuItem, "Save As...").onClick = [this] { SaveAs1Click(); };
    Declare(RightsControl::Line, RightsLine("Administrator rights are needed to read this disk"));
    Declare(RightsControl::Restart, RestartButton());
}

std::optional<std::string> TfrmDiskInfo::ReportJson() const {
    if (!shown_) return std::nullopt;
    return reports::JsonText(DiskInfoReport(*this, shown_->letter));
}

void TfrmDiskInfo::ShowNothing(const std::string& text) {
    ClearFields();
    Get(DiskInfoControl::Status).text = text;
    Get(DiskInfoControl::Status).tone = Tone::Bad;
}

void TfrmDiskInfo::ShowDrive(char letter) {
    WaitCursor hourglass(dialogs_);
    ClearFields();
    shown_ = DiskChoice{letter, std::nullopt};
    using D = DiskInfoControl;
    if (const auto descriptor = inventory::StorageDescriptor(platform_.device(), letter)) {
        Get(D::BusType).text = BusTypeName(descriptor->busType);
    }
    ShowDiskOf(DiskOfDrive(platform_, letter));
    ShowVolume(letter);
}

void TfrmDiskInfo::ShowDisk(std::uint32_t number) {
    WaitCursor hourglass(dialogs_);
    ClearFields();
    shown_ = DiskChoice{std::nullopt, number};
    // A disk with no drive letter has no volume, and no partition to name.
    ShowDiskOf(ReadableDisk{number, std::nullopt, PhysicalDrivePath(number), ""});
}

void TfrmDiskInfo::ClearFields() {
    numbers_ = {};
    shown_.reset();
    for (const auto& entry : kDiskInfoControls) {
        Component& c = Get(entry.id);
        if (c.kind == ComponentKind::Edit || entry.id == DiskInfoControl::Status) {
            c.text.clear();
            c.tone = Tone::Plain;
        }
    }
}

void TfrmDiskInfo::ShowDiskOf(const ReadableDisk& disk) {
    using D = DiskInfoControl;
    Component& status = Get(D::Status);
    if (!disk.number) {
        status.text = disk.error;
        status.tone = Tone::Bad;
        return;
    }
    Get(D::Disk).text = disk.path;
    Get(D::Partition).text = disk.partition ? Decimal(*disk.partition) : kNotReported;
    numbers_.partition = disk.partition;
    diagnostics::IdentifyData identity;
    std::string errorText;
    const bool ok =
        diagnostics::SmartIdentifyDrive(platform_, static_cast<std::int32_t>(*disk.number), errorText, identity);
    // The first device of the driver may be a CD drive; its identity is not
    // the disk's.
    if (ok && identity.packetDevice) {
        status.text = "The device that answered on " + disk.path + " is a CD drive or another ATAPI device" +
                      (identity.modelNumber.empty() ? "" : " (" + identity.modelNumber + ")") + ", not a disk.";
        status.tone = Tone::Caution;
        return;
    }
    // A driver that lists no device answers true without identifying any.
    if (ok && (!identity.modelNumber.empty() || identity.sectors != 0)) {
        ShowIdentity(identity.modelNumber, identity.serialNumber, identity.firmwareRev,
                     static_cast<std::uint64_t>(identity.sizeBytes));
        return;
    }
    // A disk the driver's requests do not reach (NVMe, USB, an AHCI driver
    // that refuses them) may answer by another route.
    const diagnostics::DiskHealth health =
        diagnostics::ReadDiskHealth(platform_, static_cast<std::int32_t>(*disk.number));
    if (health.Answered()) {
        ShowIdentity(health.model, health.serial, health.firmware, health.capacityBytes.low);
        return;
    }
    status.text = !errorText.empty() ? errorText : "No ATA disk answered on " + disk.path + ".";
    status.tone = Tone::Bad;
}

void TfrmDiskInfo::ShowIdentity(const std::string& model, const std::string& serial, const std::string& firmware,
                                std::uint64_t bytes) {
    using D = DiskInfoControl;
    Get(D::Model).text = model;
    Get(D::Serial).text = serial;
    Get(D::Firmware).text = firmware;
    numbers_.sizeBytes = bytes;
    Get(D::Size).text = DiskSizeText(platform_.locale(), bytes);
}

void TfrmDiskInfo::ShowVolume(char letter) {
    using D = DiskInfoControl;
    Kernel& kernel = platform_.kernel();
    const std::string root = RootPath(letter);
    std::array<char, 261> label{};
    std::array<char, 261> fileSystem{};
    DWORD serial = 0;
    DWORD maxComponent = 0;
    DWORD flags = 0;
    if (kernel.GetVolumeInformationA(root.c_str(), label.data(), static_cast<DWORD>(label.size()), &serial,
                                     &maxComponent, &flags, fileSystem.data(), static_cast<DWORD>(fileSystem.size()))) {
        label.back() = 0;
        fileSystem.back() = 0;
        Get(D::VolumeLabel).text = label.data();
        Get(D::FileSystem).text = fileSystem.data();
        Get(D::VolumeSerial).text = inventory::SerialText(serial);
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (kernel.GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
        const std::uint64_t cluster = std::uint64_t{sectorsPerCluster} * bytesPerSector;
        const inventory::NumberSeparators sep = inventory::ReadSeparators(platform_.locale());
        Get(D::ClusterSize).text = inventory::FormatGrouped(cluster, sep) + " bytes";
        numbers_.clusterBytes = cluster;
    }
}

}  // namespace tw
