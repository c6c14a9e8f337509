#include "gui/win32/disk_info/disk_info_window.h"

#include "app/tfrm_disk_info.h"
#include "gui/win32/disk_info/disk_info_ids.h"

namespace tw::gui {

namespace {

constexpr ReportField kFields[] = {
    {KeyOf(DiskInfoControl::Model), IDC_DISK_INFO_MODEL},
    {KeyOf(DiskInfoControl::Serial), IDC_DISK_INFO_SERIAL},
    {KeyOf(DiskInfoControl::Firmware), IDC_DISK_INFO_FIRMWARE},
    {KeyOf(DiskInfoControl::Size), IDC_DISK_INFO_SIZE},
    {KeyOf(DiskInfoControl::Disk), IDC_DISK_INFO_DISK},
    {KeyOf(DiskInfoControl::Partition), IDC_DISK_INFO_PARTITION},
    {KeyOf(DiskInfoControl::BusType), IDC_DISK_INFO_BUS},
    {KeyOf(DiskInfoControl::FileSystem), IDC_DISK_INFO_FILE_SYSTEM},
    {KeyOf(DiskInfoControl::VolumeLabel), IDC_DISK_INFO_LABEL},
    {KeyOf(DiskInfoControl::VolumeSerial), IDC_DISK_INFO_VOLUME_SERIAL},
    {KeyOf(DiskInfoControl::ClusterSize), IDC_DISK_INFO_CLUSTER},
};

constexpr ControlAnchor kAnchors[] = {
    {IDC_DISK_INFO_TITLE, kAnchorGrowWide},
    {IDC_DISK_INFO_RULE, kAnchorGrowWide},
    {IDC_DISK_INFO_MODEL, kAnchorGrowWide},
    {IDC_DISK_INFO_SERIAL, kAnchorGrowWide},
    {IDC_DISK_INFO_FIRMWARE, kAnchorGrowWide},
    {IDC_DISK_INFO_SIZE, kAnchorGrowWide},
    {IDC_DISK_INFO_DISK, kAnchorGrowWide},
    {IDC_DISK_INFO_PARTITION, kAnchorGrowWide},
    {IDC_DISK_INFO_BUS, kAnchorGrowWide},
    {IDC_DISK_INFO_VOLUME_RULE, kAnchorGrowWide},
    {IDC_DISK_INFO_FILE_SYSTEM, kAnchorGrowWide},
    {IDC_DISK_INFO_LABEL, kAnchorGrowWide},
    {IDC_DISK_INFO_VOLUME_SERIAL, kAnchorGrowWide},
    {IDC_DISK_INFO_CLUSTER, kAnchorGrowWide},
    {IDC_DISK_INFO_STATUS, kAnchorGrowWide},
    {IDC_DISK_INFO_REFRESH, kAnchorMoveDown},
    {IDC_DISK_INFO_COPY, kAnchorMoveDown},
    {IDC_DISK_INFO_SAVE_AS, kAnchorMoveDown},
    {IDCANCEL, kAnchorMoveRight | kAnchorMoveDown},
    {IDC_DISK_INFO_RIGHTS, kAnchorMoveDown | kAnchorGrowWide},
    {IDC_DISK_INFO_RESTART, kAnchorMoveRight | kAnchorMoveDown},
};

}  // namespace

DiskInfoWindow::DiskInfoWindow()
    : DiskReportWindow(ReportLayout{.templateId = IDD_DISK_INFO,
                                    .title = IDC_DISK_INFO_TITLE,
                                    .chooser = IDC_DISK_INFO_DRIVE,
                                    .chooserComponent = KeyOf(DiskInfoControl::DriveChooser),
                                    .fields = kFields,
                                    .status = IDC_DISK_INFO_STATUS,
                                    .statusComponent = KeyOf(DiskInfoControl::Status),
                                    .refresh = IDC_DISK_INFO_REFRESH,
                                    .refreshComponent = KeyOf(DiskInfoControl::Refresh),
                                    .copy = IDC_DISK_INFO_COPY,
                                    .copyComponent = KeyOf(DiskInfoControl::Copy),
                                    .saveAs = IDC_DISK_INFO_SAVE_AS,
                                    .saveAsComponent = KeyOf(DiskInfoControl::SaveAs),
                                    .anchors = kAnchors,
                                    .rights = {IDC_DISK_INFO_RIGHTS, IDC_DISK_INFO_RESTART, IDC_DISK_INFO_STATUS}}) {}

}  // namespace tw::gui
